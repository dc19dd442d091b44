#include "request_handler.h"

#include "frame.h"

namespace korvelsim {

namespace {

// A stale reply that a careful client discards; its code would show if it did not.
constexpr std::int32_t kForeignReplyCode = -999;

Response answer(Instrument &device, Link link, std::int32_t command, const Bytes &request) {
    const CommandShape *entry = findCommand(command);
    if (!entry || !allowedOn(*entry, link)) {
        return Response::error(kUnknownCommand);
    }
    if (request.size() - kHeaderSize != entry->requestPayload) {
        return Response::error(kMalformedRequest);
    }
    return device.handle(command, request.data() + kHeaderSize, SteadyClock::now());
}

Bytes errorPayload(std::int32_t code) {
    Bytes payload;
    appendI32(payload, code);
    return payload;
}

} // namespace

Outcome handleRequest(SimInstrument &instrument, Link link, const Bytes &request) {
    const RequestHeader header = parseHeader(request.data());
    instrument.log.push_back({header.command, request});
    Faults &faults = instrument.faults;
    if (const int scans = faults.takeScansBefore(header.command)) {
        instrument.device.pushScans(scans, SteadyClock::now());
    }
    Outcome outcome;
    if (faults.takeCloseAfter()) {
        outcome.kind = Outcome::Kind::CloseConnection;
        return outcome;
    }
    if (faults.silent) {
        return outcome;
    }
    const auto forcedError = faults.takeError(header.command);
    Response response =
        forcedError ? Response::error(*forcedError) : answer(instrument.device, link, header.command, request);
    if (auto raw = faults.takePayload()) {
        response = Response::ok(std::move(*raw)); // what the reply carries, whatever the instrument meant
    }
    if (faults.takeForeignReply()) {
        outcome.bytes = buildReply(header.sequence - 1, kErrorReplyCommand, errorPayload(kForeignReplyCode));
    }
    const Bytes reply =
        buildReply(header.sequence, response.isError ? kErrorReplyCommand : header.command,
                   response.isError ? errorPayload(response.code) : response.payload, faults.takeBadLength());
    outcome.bytes.insert(outcome.bytes.end(), reply.begin(), reply.end());
    outcome.kind = Outcome::Kind::Answer;
    outcome.delay = faults.delay;
    outcome.bytewise = faults.bytewise;
    return outcome;
}

} // namespace korvelsim

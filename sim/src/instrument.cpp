#include "instrument.h"

#include <algorithm>
#include <cstring>

#include "command_table.h"
#include "config_codec.h"
#include "signal_source.h"

namespace korvelsim {

namespace {

constexpr std::size_t kModelTextSize = 40;
constexpr std::size_t kCompatibilitySize = 8;
constexpr std::size_t kPassThruBlock = 2000;
constexpr std::uint32_t kAttentionFlag = 0x80000000U;
constexpr std::uint32_t kConditionBits = 0xFFFFU;
constexpr float kBlockTemperature = 25.0f;

Bytes fixedText(const std::string &text, std::size_t size) {
    Bytes out(size, 0);
    std::copy_n(text.begin(), std::min(text.size(), size), out.begin());
    return out;
}

Bytes oneInt(std::int32_t value) {
    Bytes out;
    appendI32(out, value);
    return out;
}

Bytes oneFloat(float value) {
    Bytes out;
    appendFloat(out, value);
    return out;
}

float intAsFloat(const std::uint8_t *payload) { return static_cast<float>(readI32(payload)); }

Bytes compatibilityText(const std::string &text) {
    return fixedText(text.substr(0, kCompatibilitySize - 1), kCompatibilitySize);
}

ClockReading readTime(const std::uint8_t *payload) {
    ClockReading reading;
    std::memcpy(&reading.time, payload, sizeof reading.time);
    reading.milliseconds = readI32(payload + sizeof reading.time);
    return reading;
}

// Greeting, close and status are answered even while the instrument is busy.
bool answeredWhileBusy(std::int32_t code) {
    return code == command::kGreeting || code == command::kClose || code == command::kStatus;
}

} // namespace

Instrument::Instrument(int bcn, std::string model)
        : modelText(std::move(model)), reportedBcn(bcn), seed(static_cast<std::uint32_t>(bcn)) {}

Response Instrument::handle(std::int32_t code, const std::uint8_t *payload, Instant now) {
    advance(now);
    if (busyReplies && busyAt(now) && !answeredWhileBusy(code)) {
        return Response::error(kStillBusy);
    }
    return answer(code, payload, now);
}

Response Instrument::answer(std::int32_t code, const std::uint8_t *payload, Instant now) {
    switch (code) {
        case command::kGreeting: // greeting and close carry nothing
        case command::kClose: return Response::ok();
        case command::kStatus: {
            const std::uint32_t status = statusAt(now);
            overflow_ = false; // reported once: reading the status clears it
            return Response::ok(oneInt(static_cast<std::int32_t>(status)));
        }
        case command::kReset:
            ++resets;
            schedule_.stop();
            spyEnabled = false;
            monitorChannel = 0;
            queue.clear();
            return Response::ok();
        case command::kInternalError: return Response::ok(oneInt(internalError));
        case command::kScansGet: return fetchScans(readI32(payload));
        case command::kScansGetLast:
            return scanBlock(queue.newest() ? std::vector<Scan>{*queue.newest()} : std::vector<Scan>{});
        case command::kScansTrigger:
            triggerValue = readI32(payload);
            if (triggerValue != 0 && scanning() && (config.options & kExternalTriggerOption)) {
                makeScan(now);
            }
            return Response::ok();
        case command::kScansEnable: return enableScanning(readI32(payload), readTime(payload + 4), now);
        case command::kScansDisable: stopScanning(now); return Response::ok();
        case command::kTimeGet: {
            const ClockReading shown = clock.readingAt(now);
            Bytes out(sizeof shown.time);
            std::memcpy(out.data(), &shown.time, sizeof shown.time);
            appendI32(out, shown.milliseconds);
            return Response::ok(std::move(out));
        }
        case command::kTimeSet: {
            const ClockReading wanted = readTime(payload);
            return clock.set(wanted.time, wanted.milliseconds, now) ? Response::ok()
                                                                    : Response::error(kMalformedRequest);
        }
        case command::kConfigGet: return Response::ok(encodeConfig(config, false));
        case command::kConfigSet: return setConfig(payload, false, now);
        case command::kDioGet: return Response::ok(oneInt(dio));
        case command::kDioSet: setDio(readI32(payload), readI32(payload + 4)); return Response::ok();
        case command::kSpyGet: {
            const auto reading = spyEnabled ? spyReading(readI32(payload), now) : std::nullopt;
            return reading ? Response::ok(oneFloat(*reading)) : Response::error(kNoReading);
        }
        case command::kTotalizerGet: return Response::ok(oneInt(static_cast<std::int32_t>(totalizer)));
        case command::kTotalizerClear: totalizer = 0; return Response::ok();
        case command::kModel: return Response::ok(fixedText(modelText, kModelTextSize));
        case command::kSelftestBegin: ++selftestsBegun; return Response::ok();
        case command::kSelftestResult: return Response::ok(oneInt(static_cast<std::int32_t>(selftestWord)));
        case command::kMonitorOn: monitorChannel = readI32(payload); return Response::ok();
        case command::kMonitorOff: monitorChannel = 0; return Response::ok();
        case command::kInstrumentBcn: return Response::ok(oneInt(reportedBcn));
        case command::kTempBlock: return Response::ok(oneFloat(kBlockTemperature));
        case command::kTempLin:
            return Response::ok(oneFloat(readFloat(payload + 4) * readFloat(payload + 8) + intAsFloat(payload)));
        case command::kTempRefAdj: return Response::ok(oneFloat(readFloat(payload + 4) + intAsFloat(payload)));
        case command::kScansClear:
            clearValue = readI32(payload);
            queue.clear();
            return Response::ok();
        case command::kSpyOn: spyEnabled = true; return Response::ok();
        case command::kSpyOff: spyEnabled = false; return Response::ok();
        case command::kScansCount: return Response::ok(oneInt(static_cast<std::int32_t>(queue.size())));
        case command::kLoggerCompatibility:
            return compatibility ? Response::ok(compatibilityText(*compatibility))
                                 : Response::error(KVX_INST_OLD_SOFTWARE);
        case command::kConfigGetWithEquations: return Response::ok(encodeConfig(config, true));
        case command::kConfigSetWithEquations: return setConfig(payload, true, now);
        case command::kPassThruEnable: passThruType = readI32(payload); return Response::ok();
        case command::kPassThruDisable: passThruType = 0; return Response::ok();
        case command::kPassThruSend: return passThruSend(payload);
        case command::kPassThruReceive: return passThruReceive(readI32(payload));
        case command::kPassThruStatus: {
            Bytes out = oneInt(passThruType);
            appendI32(out, static_cast<std::int32_t>(passThruData.size()));
            return Response::ok(std::move(out));
        }
        case command::kDioSet2: setDio(readI32(payload), readI32(payload + 4)); return Response::ok();
        case command::kTotalizerClear2: totalizer = 0; return Response::ok();
        default: return Response::error(kUnknownCommand);
    }
}

std::uint32_t Instrument::statusAt(Instant now) const {
    return statusWord | (overflow_ ? kOverflowStatus : 0U) | (busyAt(now) ? kBusyStatus : 0U);
}

std::optional<float> Instrument::spyReading(int channel, Instant now) const {
    if (channel < 1 || channel > KVX_MAX_CHANNELS) {
        return std::nullopt;
    }
    if (const auto set = spyValues.find(channel); set != spyValues.end()) {
        return set->second;
    }
    const std::size_t index = static_cast<std::size_t>(channel) - 1;
    if (config.channels[index].function != KVX_FN_OFF) {
        return readingsAt(now)[index];
    }
    const Scan *newest = queue.newest();
    if (!configured_ && newest && index < newest->readings.size()) {
        return newest->readings[index];
    }
    return std::nullopt;
}

Response Instrument::scanBlock(std::vector<Scan> scans) const {
    const bool flagged = attention || overflow_ || (statusWord & kConditionBits) != 0;
    const std::uint32_t remaining = static_cast<std::uint32_t>(queue.size()) | (flagged ? kAttentionFlag : 0U);
    return Response::ok(encodeScanBlock(queue.recordSize(), scans, remaining));
}

// A new configuration ends scanning and empties the queue: its records would
// no longer match the channels.
Response Instrument::setConfig(const std::uint8_t *payload, bool withEquations, Instant now) {
    decodeConfig(payload, withEquations, config);
    configured_ = true;
    stopScanning(now);
    queue.clear();
    queue.setRecordSize(recordSizeOf(config));
    return Response::ok();
}

// The first value selects the output lines to change, the second gives their new state.
void Instrument::setDio(std::int32_t first, std::int32_t second) {
    dioSetFirst = first;
    dioSetSecond = second;
    dio = ((dio & ~first) | (second & first)) & 0xFF;
}

Response Instrument::passThruSend(const std::uint8_t *payload) {
    const std::int32_t count = readI32(payload);
    if (count < 0 || count > static_cast<std::int32_t>(kPassThruBlock)) {
        return Response::error(kMalformedRequest);
    }
    passThruData.insert(passThruData.end(), payload + 4, payload + 4 + count);
    return Response::ok();
}

Response Instrument::passThruReceive(std::int32_t most) {
    const std::size_t wanted = static_cast<std::size_t>(std::clamp(most, 0, static_cast<std::int32_t>(kPassThruBlock)));
    const std::size_t count = std::min(wanted, passThruData.size());
    Bytes out = oneInt(static_cast<std::int32_t>(count));
    Bytes block(kPassThruBlock, 0);
    std::copy_n(passThruData.begin(), count, block.begin());
    passThruData.erase(passThruData.begin(), passThruData.begin() + static_cast<std::ptrdiff_t>(count));
    out.insert(out.end(), block.begin(), block.end());
    return Response::ok(std::move(out));
}

} // namespace korvelsim

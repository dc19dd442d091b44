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
bool answeredWhileBusy(std::int32_t command) { return command == 0 || command == 1 || command == 2; }

} // namespace

Instrument::Instrument(int bcn, std::string model)
        : modelText(std::move(model)), reportedBcn(bcn), seed(static_cast<std::uint32_t>(bcn)) {}

Response Instrument::handle(std::int32_t command, const std::uint8_t *payload, Instant now) {
    advance(now);
    if (busyReplies && busyAt(now) && !answeredWhileBusy(command)) {
        return Response::error(kStillBusy);
    }
    return answer(command, payload, now);
}

Response Instrument::answer(std::int32_t command, const std::uint8_t *payload, Instant now) {
    switch (command) {
        case 0: // greeting and close carry nothing
        case 1: return Response::ok();
        case 2: {
            const std::uint32_t status = statusAt(now);
            overflow_ = false; // reported once: reading the status clears it
            return Response::ok(oneInt(static_cast<std::int32_t>(status)));
        }
        case 3:
            ++resets;
            schedule_.stop();
            spyEnabled = false;
            monitorChannel = 0;
            queue.clear();
            return Response::ok();
        case 4: return Response::ok(oneInt(internalError));
        case 100: return fetchScans(readI32(payload));
        case 101: return scanBlock(queue.newest() ? std::vector<Scan>{*queue.newest()} : std::vector<Scan>{});
        case 102:
            triggerValue = readI32(payload);
            if (triggerValue != 0 && scanning() && (config.options & kExternalTriggerOption)) {
                makeScan(now);
            }
            return Response::ok();
        case 103: return enableScanning(readI32(payload), readTime(payload + 4), now);
        case 104: stopScanning(now); return Response::ok();
        case 105: {
            const ClockReading shown = clock.readingAt(now);
            Bytes out(sizeof shown.time);
            std::memcpy(out.data(), &shown.time, sizeof shown.time);
            appendI32(out, shown.milliseconds);
            return Response::ok(std::move(out));
        }
        case 106: {
            const ClockReading wanted = readTime(payload);
            return clock.set(wanted.time, wanted.milliseconds, now) ? Response::ok()
                                                                    : Response::error(kMalformedRequest);
        }
        case 107: return Response::ok(encodeConfig(config, false));
        case 108: return setConfig(payload, false, now);
        case 109: return Response::ok(oneInt(dio));
        case 110: setDio(readI32(payload), readI32(payload + 4)); return Response::ok();
        case 111: {
            const auto reading = spyEnabled ? spyReading(readI32(payload), now) : std::nullopt;
            return reading ? Response::ok(oneFloat(*reading)) : Response::error(kNoReading);
        }
        case 112: return Response::ok(oneInt(static_cast<std::int32_t>(totalizer)));
        case 113: totalizer = 0; return Response::ok();
        case 114: return Response::ok(fixedText(modelText, kModelTextSize));
        case 115: ++selftestsBegun; return Response::ok();
        case 116: return Response::ok(oneInt(static_cast<std::int32_t>(selftestWord)));
        case 117: monitorChannel = readI32(payload); return Response::ok();
        case 118: monitorChannel = 0; return Response::ok();
        case 119: return Response::ok(oneInt(reportedBcn));
        case 120: return Response::ok(oneFloat(kBlockTemperature));
        case 121: return Response::ok(oneFloat(readFloat(payload + 4) * readFloat(payload + 8) + intAsFloat(payload)));
        case 122: return Response::ok(oneFloat(readFloat(payload + 4) + intAsFloat(payload)));
        case 123:
            clearValue = readI32(payload);
            queue.clear();
            return Response::ok();
        case 124: spyEnabled = true; return Response::ok();
        case 125: spyEnabled = false; return Response::ok();
        case 126: return Response::ok(oneInt(static_cast<std::int32_t>(queue.size())));
        case 127:
            return compatibility ? Response::ok(compatibilityText(*compatibility))
                                 : Response::error(KVX_INST_OLD_SOFTWARE);
        case 128: return Response::ok(encodeConfig(config, true));
        case 129: return setConfig(payload, true, now);
        case 200: passThruType = readI32(payload); return Response::ok();
        case 201: passThruType = 0; return Response::ok();
        case 202: return passThruSend(payload);
        case 203: return passThruReceive(readI32(payload));
        case 204: {
            Bytes out = oneInt(passThruType);
            appendI32(out, static_cast<std::int32_t>(passThruData.size()));
            return Response::ok(std::move(out));
        }
        case 205: setDio(readI32(payload), readI32(payload + 4)); return Response::ok();
        case 206: totalizer = 0; return Response::ok();
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
    if (config.channels[index].function != function::kOff) {
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

// Any configuration block through validation, the current conversion and
// the wire codec. The input is laid over a valid block (byte by byte XOR),
// so that small inputs explore the rules near a block that passes; one byte
// past the block chooses the model.
#include "config_codec.h"
#include "config_validation.h"
#include "current_conversion.h"
#include "equation_compiler.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace kvlink;

ChannelConfig &define(InstrumentConfig &config, int number, int32_t function, int32_t range, int32_t aux) {
    ChannelConfig &channel = config.channels[number - 1];
    channel.function = function;
    channel.range = range;
    channel.aux = aux;
    channel.m = 1.0f;
    return channel;
}

InstrumentConfig validBlock() {
    InstrumentConfig config{};
    config.options = (1u << 6) | (1u << 7) | (1u << 11);
    config.interval1[2] = 1;
    config.interval2[2] = 10;
    config.alarmCheckInterval[3] = 500;
    define(config, 1, FunctionVdc, 9232, 0).alarms = 1 | 4;
    define(config, 2, FunctionRtd, KVX_RANGE_RTD_CUSTOM_385, KVX_WIRING_4W).r0 = 100.0f;
    config.channels[1].alphaFloat = 0.00385f;
    define(config, 3, FunctionCurrent, KVX_RANGE_CURRENT_4_20MA, 0).r0 = 250.0f;
    define(config, 4, FunctionCurrent, KVX_RANGE_CURRENT_0_100MA, 0).r0 = 10.0f;
    define(config, 5, FunctionThermocouple, 24833, 1);
    define(config, 6, FunctionOhms, KVX_RANGE_OHMS_30K, KVX_WIRING_4W);
    define(config, 21, FunctionAverage, 0, 0x3);
    define(config, 22, FunctionDifference, 0, 21).alpha = 4;
    define(config, 23, FunctionAverageDifference, 0, 0x30).alpha = 1;
    define(config, 24, FunctionEquation, 0, 0);
    define(config, 25, FunctionEquation, 0, 40);
    compileEquation("(C1+C2)/2-LOG(ABS(C3))*1.5", config.equations);
    compileEquation("C24**2+SQR(C21)", config.equations + 40);
    return config;
}

// Encodes and decodes through buffers of exactly the payload size.
void roundTrip(const InstrumentConfig &config, bool withEquations) {
    const size_t size = withEquations ? kConfigPayloadType2 : kConfigPayloadType1;
    auto payload = std::make_unique<uint8_t[]>(size);
    MessageWriter out(payload.get(), size, 0);
    if (!encodeConfig(out, config, withEquations) || out.offset() != size) std::abort();
    auto decoded = std::make_unique<InstrumentConfig>();
    std::memset(decoded.get(), 0xA5, sizeof(InstrumentConfig));
    MessageReader in(payload.get(), size, 0);
    if (!decodeConfig(in, *decoded, withEquations) || in.remaining() != 0) std::abort();
    if (std::memcmp(decoded.get(), &config, size) != 0) std::abort();
    restoreCurrentChannels(*decoded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const InstrumentConfig base = validBlock();
    auto config = std::make_unique<InstrumentConfig>(base);
    auto *bytes = reinterpret_cast<uint8_t *>(config.get());
    for (size_t i = 0; i < size && i < sizeof(InstrumentConfig); ++i) bytes[i] ^= data[i];
    const int32_t model = size > sizeof(InstrumentConfig) ? data[sizeof(InstrumentConfig)] & 1 : KVX_MODEL_M100A;

    const int32_t detail = validateConfig(*config, model);
    if (detail == DetailNone) {
        auto sent = std::make_unique<InstrumentConfig>(*config);
        const int32_t problem = convertCurrentChannels(*sent);
        const int32_t kind = problem & 0xFF;
        if (problem != DetailNone && kind != DetailCurrentOverflow && kind != DetailCurrentUnderflow) std::abort();
        if (problem == DetailNone) roundTrip(*sent, true);
    } else if ((detail & 0xFF) < 3 || (detail & 0xFF) > 40) {
        std::abort();
    }
    roundTrip(*config, true);
    roundTrip(*config, false);
    return 0;
}

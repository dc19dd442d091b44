#include "config_codec.h"

#include <bit>
#include <cstring>

namespace korvelsim {

namespace {

constexpr std::uint8_t kChannelToken = 1;
constexpr std::uint8_t kConstantToken = 2;

// Only the channel number and the float constant travel reordered; every
// other byte of the area is copied as it is.
std::size_t operandSize(const std::uint8_t *area, std::size_t position) {
    const std::size_t after = KVX_EQUATION_AREA - position - 1;
    if (area[position] == kChannelToken && after >= 2) {
        return 2;
    }
    if (area[position] == kConstantToken && after >= 4) {
        return 4;
    }
    return 0;
}

void appendEquations(Bytes &out, const std::uint8_t *area) {
    std::size_t position = 0;
    while (position < KVX_EQUATION_AREA) {
        const std::size_t operand = operandSize(area, position);
        out.push_back(area[position]);
        if (operand == 2) {
            std::uint16_t channel = 0;
            std::memcpy(&channel, area + position + 1, 2);
            out.push_back(static_cast<std::uint8_t>(channel >> 8));
            out.push_back(static_cast<std::uint8_t>(channel));
        } else if (operand == 4) {
            float constant = 0;
            std::memcpy(&constant, area + position + 1, 4);
            appendFloat(out, constant);
        }
        position += 1 + operand;
    }
}

void readEquations(const std::uint8_t *wire, std::uint8_t *area) {
    std::size_t position = 0;
    while (position < KVX_EQUATION_AREA) {
        area[position] = wire[position];
        const std::size_t operand = operandSize(wire, position);
        if (operand == 2) {
            const std::uint16_t channel = readU16(wire + position + 1);
            std::memcpy(area + position + 1, &channel, 2);
        } else if (operand == 4) {
            const float constant = readFloat(wire + position + 1);
            std::memcpy(area + position + 1, &constant, 4);
        }
        position += 1 + operand;
    }
}

void appendChannel(Bytes &out, const ChannelConfig &channel) {
    appendI32(out, channel.function);
    appendI32(out, channel.range);
    if (channel.range == KVX_RANGE_RTD_CUSTOM_385) {
        appendFloat(out, channel.alphaFloat);
    } else {
        appendI32(out, channel.alpha);
    }
    appendFloat(out, channel.r0);
    appendI32(out, channel.aux);
    appendI32(out, channel.alarms);
    appendFloat(out, channel.limit1);
    appendFloat(out, channel.limit2);
    appendI32(out, channel.output1);
    appendI32(out, channel.output2);
    appendFloat(out, channel.m);
    appendFloat(out, channel.b);
}

class FieldReader {
public:
    explicit FieldReader(const std::uint8_t *wire) : wire_(wire) {}
    std::int32_t int32() { return readI32(next()); }
    float real() { return readFloat(next()); }
    const std::uint8_t *position() const { return wire_; }

private:
    const std::uint8_t *next() {
        const std::uint8_t *field = wire_;
        wire_ += 4;
        return field;
    }
    const std::uint8_t *wire_;
};

void readChannel(FieldReader &in, ChannelConfig &channel) {
    channel.function = in.int32();
    channel.range = in.int32();
    if (channel.range == KVX_RANGE_RTD_CUSTOM_385) {
        channel.alphaFloat = in.real();
    } else {
        channel.alpha = in.int32();
    }
    channel.r0 = in.real();
    channel.aux = in.int32();
    channel.alarms = in.int32();
    channel.limit1 = in.real();
    channel.limit2 = in.real();
    channel.output1 = in.int32();
    channel.output2 = in.int32();
    channel.m = in.real();
    channel.b = in.real();
}

} // namespace

Bytes encodeConfig(const InstrumentConfig &config, bool withEquations) {
    Bytes out;
    out.reserve(kConfigWithEquations);
    appendU32(out, config.options);
    for (const auto *interval : {config.interval1, config.interval2, config.alarmCheckInterval}) {
        for (int field = 0; field < 4; ++field) {
            appendI32(out, interval[field]);
        }
    }
    for (const ChannelConfig &channel : config.channels) {
        appendChannel(out, channel);
    }
    if (withEquations) {
        appendEquations(out, config.equations);
    }
    return out;
}

void decodeConfig(const std::uint8_t *payload, bool withEquations, InstrumentConfig &config) {
    FieldReader in(payload);
    config.options = static_cast<std::uint32_t>(in.int32());
    for (auto *interval : {config.interval1, config.interval2, config.alarmCheckInterval}) {
        for (int field = 0; field < 4; ++field) {
            interval[field] = in.int32();
        }
    }
    for (ChannelConfig &channel : config.channels) {
        readChannel(in, channel);
    }
    if (withEquations) {
        readEquations(in.position(), config.equations);
    }
}

} // namespace korvelsim

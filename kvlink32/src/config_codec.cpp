#include "config_codec.h"

#include "config_validation.h"
#include "equation_compiler.h"

#include <cstddef>
#include <cstring>
#include <iterator>

namespace kvlink {
namespace {

// options and the three intervals
constexpr size_t kHeaderWords = 13;

enum class Word { Int, Float, Alpha };

struct ChannelField {
    size_t offset;
    Word kind;
};

constexpr ChannelField kChannelFields[] = {
    {offsetof(ChannelConfig, function), Word::Int}, {offsetof(ChannelConfig, range), Word::Int},
    {offsetof(ChannelConfig, alpha), Word::Alpha},  {offsetof(ChannelConfig, r0), Word::Float},
    {offsetof(ChannelConfig, aux), Word::Int},      {offsetof(ChannelConfig, alarms), Word::Int},
    {offsetof(ChannelConfig, limit1), Word::Float}, {offsetof(ChannelConfig, limit2), Word::Float},
    {offsetof(ChannelConfig, output1), Word::Int},  {offsetof(ChannelConfig, output2), Word::Int},
    {offsetof(ChannelConfig, m), Word::Float},      {offsetof(ChannelConfig, b), Word::Float},
};
static_assert(std::size(kChannelFields) * 4 == sizeof(ChannelConfig));

bool isFloat(Word kind, bool floatAlpha) { return kind == Word::Float || (kind == Word::Alpha && floatAlpha); }

bool putWord(MessageWriter &out, const uint8_t *field, bool asFloat) {
    if (asFloat) {
        float value;
        std::memcpy(&value, field, sizeof value);
        return out.putFloat(value);
    }
    int32_t value;
    std::memcpy(&value, field, sizeof value);
    return out.putInt(value);
}

bool getWord(MessageReader &in, uint8_t *field, bool asFloat) {
    if (asFloat) {
        float value;
        if (!in.getFloat(value)) return false;
        std::memcpy(field, &value, sizeof value);
        return true;
    }
    int32_t value;
    if (!in.getInt(value)) return false;
    std::memcpy(field, &value, sizeof value);
    return true;
}

// A channel token travels with its number, a constant token with its float,
// only when the operand lies wholly inside the area; any other byte, and a
// token cut off by the end of the area, travels as it is.
size_t wireOperandSize(uint8_t code, size_t at) {
    const size_t bytesAfter = KVX_EQUATION_AREA - 1 - at;
    if (code == TokenChannel && bytesAfter >= 2) return 2;
    if (code == TokenConstant && bytesAfter >= 4) return 4;
    return 0;
}

bool putOperand(MessageWriter &out, const uint8_t *operand, size_t size) {
    if (size == 2) {
        uint16_t channel;
        std::memcpy(&channel, operand, sizeof channel);
        return out.putShort(channel);
    }
    return size == 0 || putWord(out, operand, true);
}

bool getOperand(MessageReader &in, uint8_t *operand, size_t size) {
    if (size == 2) {
        uint16_t channel;
        if (!in.getShort(channel)) return false;
        std::memcpy(operand, &channel, sizeof channel);
        return true;
    }
    return size == 0 || getWord(in, operand, true);
}

} // namespace

bool encodeConfig(MessageWriter &out, const InstrumentConfig &config, bool withEquations) {
    const auto *block = reinterpret_cast<const uint8_t *>(&config);
    for (size_t word = 0; word < kHeaderWords; ++word) {
        if (!putWord(out, block + 4 * word, false)) return false;
    }
    for (const ChannelConfig &channel : config.channels) {
        const bool floatAlpha = channel.function == FunctionRtd && channel.range == KVX_RANGE_RTD_CUSTOM_385;
        const auto *bytes = reinterpret_cast<const uint8_t *>(&channel);
        for (const ChannelField &field : kChannelFields) {
            if (!putWord(out, bytes + field.offset, isFloat(field.kind, floatAlpha))) return false;
        }
    }
    if (!withEquations) return true;
    for (size_t at = 0; at < KVX_EQUATION_AREA;) {
        const uint8_t code = config.equations[at];
        const size_t operand = wireOperandSize(code, at);
        if (!out.putByte(code) || !putOperand(out, config.equations + at + 1, operand)) return false;
        at += 1 + operand;
    }
    return true;
}

bool decodeConfig(MessageReader &in, InstrumentConfig &config, bool withEquations) {
    auto *block = reinterpret_cast<uint8_t *>(&config);
    for (size_t word = 0; word < kHeaderWords; ++word) {
        if (!getWord(in, block + 4 * word, false)) return false;
    }
    for (ChannelConfig &channel : config.channels) {
        auto *bytes = reinterpret_cast<uint8_t *>(&channel);
        for (const ChannelField &field : kChannelFields) {
            // The range arrives before alpha and says how to read it.
            const bool floatAlpha = channel.range == KVX_RANGE_RTD_CUSTOM_385;
            if (!getWord(in, bytes + field.offset, isFloat(field.kind, floatAlpha))) return false;
        }
    }
    if (!withEquations) return true;
    for (size_t at = 0; at < KVX_EQUATION_AREA;) {
        uint8_t code;
        if (!in.getByte(code)) return false;
        config.equations[at] = code;
        const size_t operand = wireOperandSize(code, at);
        if (!getOperand(in, config.equations + at + 1, operand)) return false;
        at += 1 + operand;
    }
    return true;
}

} // namespace kvlink

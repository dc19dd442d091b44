#include "setup/computed_channel_rules.h"

#include "link/instrument_link.h"
#include "platform/string_table.h"
#include "setup/channel_identifier.h"
#include "setup/text_format.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace korvel {
namespace {

constexpr int kCompilerErrors = 8; // the compiler's error codes run from 1

// The message text with each "%04u" filled in turn with a channel identifier
// (BCN x 100 + channel).
std::string withChannelIds(int messageId, unsigned bcn, int first, int second = 0) {
    const auto id = [bcn](int channel) { return formatted("%04u", channelIdentifier(bcn, channel)); };
    return filledIn(resourceString(messageId), "%04u", {id(first), id(second)});
}

ComputedChannelRefusal refusal(int messageId, std::string text, ComputedChannelField focus, int channel = 0) {
    return {messageId, std::move(text), focus, channel, -1};
}

// Error 2 and anything the compiler does not name read "Invalid Equation!".
int compileErrorMessage(std::int32_t errorCode) {
    return errorCode >= 1 && errorCode <= kCompilerErrors ? message::kEquationCompileErrors + errorCode - 1
                                                          : message::kInvalidEquation;
}

// The channels a computed channel reads, in the order they are checked: its
// average or equation set from the lowest, then channel A, then channel B.
std::vector<int> sourcesOf(const ChannelSetup &channel) {
    std::uint32_t set = 0;
    bool readsA = false;
    bool readsB = false;
    switch (channel.function) {
        case ChannelFunction::Average: set = channel.averageSet; break;
        case ChannelFunction::ChanAMinusChanB: readsA = readsB = true; break;
        case ChannelFunction::ChanAMinusAverage:
            set = channel.averageSet;
            readsA = true;
            break;
        case ChannelFunction::Equation: set = channel.equationSet; break;
        default: break;
    }
    std::vector<int> sources;
    for (int number = 0; number < 32; ++number) {
        if ((set >> number) & 1U) sources.push_back(number);
    }
    if (readsA) sources.push_back(channel.channelA);
    if (readsB) sources.push_back(channel.channelB);
    return sources;
}

bool defined(const InstrumentSetup &setup, int channel) {
    return channel >= 1 && channel <= kChannelCount && setup.channel(channel).function != ChannelFunction::Off;
}

std::optional<ComputedChannelRefusal> compileEquation(InstrumentLink &link, ComputedDefinition &definition,
                                                      char decimalSymbol) {
    std::string text = definition.equation;
    std::replace(text.begin(), text.end(), decimalSymbol, '.');
    std::array<std::uint8_t, KVX_EQUATION_AREA> code{};
    std::int32_t mask = 0, length = 0, position = 0, errorCode = 0;
    if (link.parseExpr(text.c_str(), code.data(), mask, length, position, errorCode) != 1) {
        const int messageId = compileErrorMessage(errorCode);
        ComputedChannelRefusal refused = refusal(messageId, resourceString(messageId), ComputedChannelField::Equation);
        refused.caret = position;
        return refused;
    }
    ChannelSetup &channel = definition.channel;
    channel.equationLength = static_cast<std::uint16_t>(text.size() + 1);
    channel.compiledSize = static_cast<std::uint16_t>(length);
    // The compiler counts channel n from bit n - 1; the setup from bit n.
    channel.equationSet = static_cast<std::uint32_t>(mask) << 1;
    // Kept with a point, as the instrument's configuration compiles it.
    definition.equation = text;
    return std::nullopt;
}

} // namespace

ComputedDefinition computedDefinitionOf(const InstrumentSetup &setup, int channel) {
    return {setup.channel(channel), setup.equation(channel)};
}

void chooseComputedFunction(ComputedDefinition &definition, ChannelFunction function) {
    ChannelSetup &channel = definition.channel;
    if (function == channel.function) return;
    channel.function = function;
    switch (function) {
        case ChannelFunction::Average: channel.unitsLabel = "Avg"; break;
        case ChannelFunction::ChanAMinusChanB: channel.unitsLabel = "Diff"; break;
        case ChannelFunction::ChanAMinusAverage: channel.unitsLabel = "DiffAvg"; break;
        case ChannelFunction::Equation: channel.unitsLabel = "Equ"; break;
        default: channel.unitsLabel.clear(); break;
    }
}

std::optional<ComputedChannelRefusal> acceptComputedFunction(InstrumentLink &link, ComputedDefinition &definition,
                                                             char decimalSymbol) {
    switch (definition.channel.function) {
        case ChannelFunction::Average:
        case ChannelFunction::ChanAMinusAverage:
            if (definition.channel.averageSet != 0) return std::nullopt;
            return refusal(message::kSelectGroupAverageChannel, resourceString(message::kSelectGroupAverageChannel),
                           ComputedChannelField::GroupAverage);
        case ChannelFunction::Equation: return compileEquation(link, definition, decimalSymbol);
        default: return std::nullopt;
    }
}

std::optional<ComputedChannelRefusal> applyComputedDefinition(InstrumentSetup &setup,
                                                              const ComputedDefinition &definition,
                                                              std::span<const int> selectedChannels) {
    const std::vector<int> sources = sourcesOf(definition.channel);
    int firstRefused = 0;
    for (const int number : selectedChannels) {
        if (std::any_of(sources.begin(), sources.end(), [number](int source) { return source >= number; })) {
            if (firstRefused == 0) firstRefused = number;
            continue;
        }
        ChannelSetup &target = setup.channel(number);
        const ChannelSetup &source = definition.channel;
        target.function = source.function;
        target.unitsLabel = source.unitsLabel;
        target.channelA = source.channelA;
        target.channelB = source.channelB;
        target.averageSet = source.averageSet;
        target.equationLength = source.equationLength;
        target.compiledSize = source.compiledSize;
        target.equationSet = source.equationSet;
        setup.equation(number) = definition.equation;
    }
    if (firstRefused == 0) return std::nullopt;
    return refusal(message::kLowerChannelsOnly, resourceString(message::kLowerChannelsOnly),
                   ComputedChannelField::ComputedChannels, firstRefused);
}

std::optional<ComputedChannelRefusal> acceptChannelsConfiguration(InstrumentSetup &setup, unsigned bcn,
                                                                  const ChannelSetup &offChannel) {
    int equationBytes = 0;
    for (int number = kFirstComputedChannel; number <= kChannelCount; ++number) {
        const ChannelSetup &channel = setup.channel(number);
        if (channel.function == ChannelFunction::Equation) {
            equationBytes += channel.compiledSize;
            if (equationBytes > KVX_EQUATION_AREA) {
                return refusal(message::kEquationBufferExceeded,
                               withChannelIds(message::kEquationBufferExceeded, bcn, number),
                               ComputedChannelField::ComputedChannels, number);
            }
        }
        for (const int source : sourcesOf(channel)) {
            if (defined(setup, source)) continue;
            return refusal(message::kChannelMustBeDefined,
                           withChannelIds(message::kChannelMustBeDefined, bcn, source, number),
                           ComputedChannelField::ComputedChannels, number);
        }
    }
    for (int number = 1; number <= kChannelCount; ++number) {
        if (setup.channel(number).function == ChannelFunction::Off) setup.channel(number) = offChannel;
    }
    return std::nullopt;
}

} // namespace korvel

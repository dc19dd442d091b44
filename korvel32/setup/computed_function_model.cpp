#include "setup/computed_function_model.h"

#include "platform/string_table.h"
#include "setup/channel_identifier.h"
#include "setup/text_format.h"

#include <algorithm>

namespace korvel {

ComputedFunctionModel::ComputedFunctionModel(const InstrumentSetup &setup, int channel,
                                             const InstrumentIdentity &identity, char decimalSymbol)
        : definition_(computedDefinitionOf(setup, channel)), identity_(identity), decimalSymbol_(decimalSymbol) {}

std::string ComputedFunctionModel::caption() const { return instrumentCaption("Computed Function", identity_); }

std::vector<ChannelFunction> ComputedFunctionModel::functions() {
    return {ChannelFunction::Off, ChannelFunction::Average, ChannelFunction::ChanAMinusChanB,
            ChannelFunction::ChanAMinusAverage, ChannelFunction::Equation};
}

std::vector<std::string> ComputedFunctionModel::functionItems() const {
    std::vector<std::string> items;
    for (const ChannelFunction function : functions()) items.push_back(resourceString(codeValue(function)));
    return items;
}

int ComputedFunctionModel::functionIndex() const {
    const std::vector<ChannelFunction> all = functions();
    const auto found = std::find(all.begin(), all.end(), definition_.channel.function);
    return found == all.end() ? 0 : static_cast<int>(found - all.begin());
}

void ComputedFunctionModel::chooseFunction(int index) {
    const std::vector<ChannelFunction> all = functions();
    if (index < 0 || index >= static_cast<int>(all.size())) return;
    chooseComputedFunction(definition_, all[static_cast<std::size_t>(index)]);
}

std::vector<std::string> ComputedFunctionModel::channelItems() const {
    std::vector<std::string> items;
    for (int channel = 1; channel <= kChannelCount; ++channel)
        items.push_back(formatted("%04u", channelIdentifier(identity_.bcn, channel)));
    return items;
}

void ComputedFunctionModel::setAveraged(int channel, bool on) {
    if (channel < 1 || channel > kChannelCount) return;
    std::uint32_t &set = definition_.channel.averageSet;
    set = on ? set | channelBit(channel) : set & ~channelBit(channel);
}

bool ComputedFunctionModel::enabled(ComputedFunctionControl control) const {
    const ChannelFunction function = definition_.channel.function;
    switch (control) {
        case ComputedFunctionControl::Function: return true;
        case ComputedFunctionControl::ChannelA:
            return function == ChannelFunction::ChanAMinusChanB || function == ChannelFunction::ChanAMinusAverage;
        case ComputedFunctionControl::ChannelB: return function == ChannelFunction::ChanAMinusChanB;
        case ComputedFunctionControl::GroupAverage:
            return function == ChannelFunction::Average || function == ChannelFunction::ChanAMinusAverage;
        case ComputedFunctionControl::Equation: return function == ChannelFunction::Equation;
        case ComputedFunctionControl::UnitsLabel: return function != ChannelFunction::Off;
    }
    return false;
}

} // namespace korvel

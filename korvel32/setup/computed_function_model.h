// The Computed Function dialog of a computed channel (21..30) as its controls
// see it: the function list, the Chan A, Chan B and Group Average lists of
// channels 1..30, the equation and units fields and which of them the chosen
// function uses. Its OK is acceptComputedFunction's.
#pragma once

#include "setup/computed_channel_rules.h"
#include "setup/instrument_identity.h"

#include <string>
#include <vector>

namespace korvel {

enum class ComputedFunctionControl { Function, ChannelA, ChannelB, GroupAverage, Equation, UnitsLabel };

class ComputedFunctionModel {
public:
    // Seeded with the first selected computed channel.
    ComputedFunctionModel(const InstrumentSetup &setup, int channel, const InstrumentIdentity &identity,
                          char decimalSymbol);

    std::string caption() const;

    static std::vector<ChannelFunction> functions(); // OFF, Average, Chan A - Chan B, Chan A - Average, Equation
    std::vector<std::string> functionItems() const;
    int functionIndex() const;
    void chooseFunction(int index);

    // Channels 1..30 as "%04u"; list index i is channel i + 1.
    std::vector<std::string> channelItems() const;
    int channelA() const { return definition_.channel.channelA; }
    void chooseChannelA(int channel) { definition_.channel.channelA = static_cast<std::uint16_t>(channel); }
    int channelB() const { return definition_.channel.channelB; }
    void chooseChannelB(int channel) { definition_.channel.channelB = static_cast<std::uint16_t>(channel); }
    bool averaged(int channel) const { return (definition_.channel.averageSet & channelBit(channel)) != 0; }
    void setAveraged(int channel, bool on);

    const std::string &equation() const { return definition_.equation; }
    void setEquation(std::string text) { definition_.equation = std::move(text); }
    const std::string &unitsLabel() const { return definition_.channel.unitsLabel; }
    void setUnitsLabel(std::string text) { definition_.channel.unitsLabel = std::move(text); }

    bool enabled(ComputedFunctionControl control) const;

    // 1316 for an average without channels; an equation that does not compile
    // keeps its text and names the place of the error (1600..1607).
    std::optional<ComputedChannelRefusal> accept(InstrumentLink &link) {
        return acceptComputedFunction(link, definition_, decimalSymbol_);
    }
    const ComputedDefinition &definition() const { return definition_; }

private:
    ComputedDefinition definition_;
    InstrumentIdentity identity_;
    char decimalSymbol_;
};

} // namespace korvel

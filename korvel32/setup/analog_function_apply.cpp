#include "setup/analog_function_apply.h"

#include "setup/channel_functions.h"

namespace korvel {

namespace {

bool upperChannel(int channel) { return channel > kFourWireChannels && channel <= kAnalogChannels; }

} // namespace

bool carriesFourWireLeads(const InstrumentSetup &setup, int channel) {
    return upperChannel(channel) && isFourWire(setup.channel(channel - kFourWireChannels).function);
}

bool applyAnalogFunction(InstrumentSetup &setup, const AnalogFunction &chosen, std::span<const int> selectedChannels) {
    bool allApplied = true;
    for (const int number : selectedChannels) {
        if (number < 1 || number > kAnalogChannels || carriesFourWireLeads(setup, number)) continue;
        if (isFourWire(chosen.function)) {
            if (upperChannel(number)) {
                allApplied = false;
                continue;
            }
            ChannelSetup &partner = setup.channel(number + kFourWireChannels);
            partner.function = ChannelFunction::Off;
            partner.range = RangeCode::Off;
            partner.r0 = 0.0;
            partner.alpha = 0.0;
        }
        ChannelSetup &channel = setup.channel(number);
        channel.function = chosen.function;
        channel.range = chosen.range;
        channel.r0 = chosen.r0;
        channel.alpha = chosen.alpha;
        channel.openTcDetect = chosen.openTcDetect;
        channel.shunt = chosen.shunt;
        channel.unitsLabel = chosen.unitsLabel;
    }
    return allApplied;
}

} // namespace korvel

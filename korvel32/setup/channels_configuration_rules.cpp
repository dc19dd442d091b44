#include "setup/channels_configuration_rules.h"

#include "setup/analog_function_apply.h"
#include "setup/channel_identifier.h"
#include "setup/text_format.h"

namespace korvel {

namespace {

std::string functionText(const InstrumentSetup &setup, int channel) {
    const ChannelSetup &entry = setup.channel(channel);
    if (entry.function == ChannelFunction::Off && carriesFourWireLeads(setup, channel)) return "OFF (4W)";
    return resourceString(codeValue(entry.function));
}

// OFF and Freq measure without a range.
std::string rangeText(const ChannelSetup &channel) {
    if (channel.function == ChannelFunction::Off || channel.function == ChannelFunction::Freq) return {};
    return resourceString(codeValue(channel.range));
}

std::vector<std::string> lines(const InstrumentSetup &setup, unsigned bcn, int first, int last) {
    std::vector<std::string> texts;
    for (int channel = first; channel <= last; ++channel) texts.push_back(channelLine(setup, bcn, channel));
    return texts;
}

} // namespace

std::string channelLine(const InstrumentSetup &setup, unsigned bcn, int channel) {
    const ChannelSetup &entry = setup.channel(channel);
    const unsigned id = channelIdentifier(bcn, channel);
    const std::string function = functionText(setup, channel);
    if (isComputedChannel(channel)) return formatted("%04u (%s),  %s", id, entry.label.c_str(), function.c_str());
    return formatted("%04u (%s),  %s  %s", id, entry.label.c_str(), function.c_str(), rangeText(entry).c_str());
}

ChannelsConfigurationModel::ChannelsConfigurationModel(const InstrumentSetup &working,
                                                       const InstrumentIdentity &identity, TemperatureUnits units,
                                                       const ChannelSetup &offChannel, char decimalSymbol)
        : setup_(working), identity_(identity), units_(units), offChannel_(offChannel), decimalSymbol_(decimalSymbol),
          label_(setup_.channel(1).label) {}

std::string ChannelsConfigurationModel::caption() const {
    return instrumentCaption("Channels Configuration", identity_);
}

std::vector<std::string> ChannelsConfigurationModel::analogLines() const {
    return lines(setup_, identity_.bcn, 1, kAnalogChannels);
}

std::vector<std::string> ChannelsConfigurationModel::computedLines() const {
    return lines(setup_, identity_.bcn, kFirstComputedChannel, kChannelCount);
}

void ChannelsConfigurationModel::selectAnalog(std::vector<int> channels) {
    std::erase_if(channels, [](int channel) { return channel < 1 || channel > kAnalogChannels; });
    selection_ = std::move(channels);
    if (!selection_.empty()) label_ = firstSelected().label;
}

void ChannelsConfigurationModel::selectComputed(std::vector<int> channels) {
    std::erase_if(channels, [](int channel) { return !isComputedChannel(channel); });
    selection_ = std::move(channels);
    if (!selection_.empty()) label_ = firstSelected().label;
}

void ChannelsConfigurationModel::applyLabel() {
    for (const int channel : selection_) setup_.channel(channel).label = label_;
}

bool ChannelsConfigurationModel::enabled(ChannelsControl control) const {
    switch (control) {
        case ChannelsControl::AnalogChannels:
        case ChannelsControl::ComputedChannels: return true;
        default: return !selection_.empty();
    }
}

FunctionSelectionModel ChannelsConfigurationModel::functionSelection() const {
    return FunctionSelectionModel(firstSelected(), identity_, units_, decimalSymbol_);
}

Checked<ChannelsControl> ChannelsConfigurationModel::applyFunction(const AnalogFunction &chosen) {
    if (applyAnalogFunction(setup_, chosen, selection_)) return std::nullopt;
    return refuse(message::kFourWireOnUpperChannels, ChannelsControl::AnalogChannels);
}

ComputedFunctionModel ChannelsConfigurationModel::computedFunction() const {
    const int channel = computedSelected() ? selection_.front() : kFirstComputedChannel;
    return ComputedFunctionModel(setup_, channel, identity_, decimalSymbol_);
}

std::optional<ComputedChannelRefusal> ChannelsConfigurationModel::applyComputed(const ComputedDefinition &definition) {
    return applyComputedDefinition(setup_, definition, selection_);
}

MxbConfigurationModel ChannelsConfigurationModel::mxbConfiguration() const {
    return MxbConfigurationModel(firstSelected(), identity_, decimalSymbol_);
}

void ChannelsConfigurationModel::applyMxb(const MxbConfigurationModel &accepted) {
    for (const int channel : selection_) accepted.applyTo(setup_.channel(channel));
}

AlarmsConfigurationModel ChannelsConfigurationModel::alarmsConfiguration() const {
    return AlarmsConfigurationModel(firstSelected(), identity_, decimalSymbol_);
}

void ChannelsConfigurationModel::applyAlarms(const AlarmsConfigurationModel &accepted) {
    for (const int channel : selection_) accepted.applyTo(setup_.channel(channel));
}

std::optional<ComputedChannelRefusal> ChannelsConfigurationModel::accept() {
    return acceptChannelsConfiguration(setup_, identity_.bcn, offChannel_);
}

const ChannelSetup &ChannelsConfigurationModel::firstSelected() const {
    return setup_.channel(selection_.empty() ? 1 : selection_.front());
}

} // namespace korvel

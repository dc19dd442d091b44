#include "setup/instrument_configuration_rules.h"

#include "setup/channel_identifier.h"
#include "setup/temperature_labels.h"
#include "setup/text_format.h"
#include "setup/time_parts.h"

namespace korvel {

namespace {

constexpr double kLongestInterval = 86400.0; // a day, in seconds
constexpr int kReadingRates = 3;

} // namespace

InstrumentConfigurationModel::InstrumentConfigurationModel(const InstrumentSetup &setup,
                                                           const InstrumentIdentity &identity, char decimalSymbol)
        : setup_(setup), identity_(identity), decimalSymbol_(decimalSymbol), units_(setup.temperatureUnits),
          debounce_(setup.totalizerDebounce), monitor_(setup.monitorChannel),
          triggers_(triggerParts(setup.triggerType)),
          interval1_(setup.interval1, secondsText(setup.interval1, decimalSymbol)),
          interval2_(setup.interval2, secondsText(setup.interval2, decimalSymbol)), rate_(setup.readingRate),
          drift_(setup.driftCorrection || setup.readingRate != ReadingRate::Fast), triggerOut_(setup.triggerOut),
          stopScanning_(setup.stopAfterDuration) {
    const DurationParts duration = durationParts(setup.duration);
    hours_ = std::to_string(duration.hours);
    minutes_ = std::to_string(duration.minutes);
    seconds_ = std::to_string(duration.seconds);
}

std::string InstrumentConfigurationModel::caption() const {
    return instrumentCaption("Instrument Configuration", identity_);
}

std::vector<std::string> InstrumentConfigurationModel::monitorItems() const {
    std::vector<std::string> items{"None"};
    for (int channel = 1; channel <= kChannelCount; ++channel)
        items.push_back(formatted("%04u", channelIdentifier(identity_.bcn, channel)));
    return items;
}

void InstrumentConfigurationModel::chooseMonitorChannel(int channel) {
    if (channel >= 0 && channel <= kChannelCount) monitor_ = channel;
}

const std::string &InstrumentConfigurationModel::text(InstrumentControl field) const {
    switch (field) {
        case InstrumentControl::Interval1: return interval1_.text();
        case InstrumentControl::Interval2: return interval2_.text();
        case InstrumentControl::DurationMinutes: return minutes_;
        case InstrumentControl::DurationSeconds: return seconds_;
        default: return hours_;
    }
}

void InstrumentConfigurationModel::setText(InstrumentControl field, std::string text) {
    switch (field) {
        case InstrumentControl::Interval1: interval1_.setText(std::move(text)); break;
        case InstrumentControl::Interval2: interval2_.setText(std::move(text)); break;
        case InstrumentControl::DurationHours: hours_ = std::move(text); break;
        case InstrumentControl::DurationMinutes: minutes_ = std::move(text); break;
        case InstrumentControl::DurationSeconds: seconds_ = std::move(text); break;
        default: break;
    }
}

std::vector<std::string> InstrumentConfigurationModel::readingRateItems() {
    std::vector<std::string> items;
    for (int i = 0; i < kReadingRates; ++i) items.push_back(resourceString(codeValue(ReadingRate::Slow) + i));
    return items;
}

int InstrumentConfigurationModel::readingRateIndex() const { return codeValue(rate_) - codeValue(ReadingRate::Slow); }

void InstrumentConfigurationModel::chooseReadingRate(int index) {
    if (index < 0 || index >= kReadingRates) return;
    rate_ = static_cast<ReadingRate>(codeValue(ReadingRate::Slow) + index);
    if (rate_ != ReadingRate::Fast) drift_ = true;
}

void InstrumentConfigurationModel::setDriftCorrection(bool on) {
    if (rate_ == ReadingRate::Fast) drift_ = on;
}

bool InstrumentConfigurationModel::enabled(InstrumentControl control) const {
    switch (control) {
        case InstrumentControl::TemperatureUnits:
        case InstrumentControl::TotalizerDebounce:
        case InstrumentControl::MonitorChannel:
        case InstrumentControl::Channels:
        case InstrumentControl::DataFile: return true;
        default: break;
    }
    if (identity_.slave()) return false;
    switch (control) {
        case InstrumentControl::Interval1: return triggers_.interval;
        case InstrumentControl::Interval2: return triggers_.external || triggers_.alarm;
        case InstrumentControl::DriftCorrection: return rate_ == ReadingRate::Fast;
        case InstrumentControl::TriggerOut: return !identity_.wiredMaster();
        case InstrumentControl::DurationHours:
        case InstrumentControl::DurationMinutes:
        case InstrumentControl::DurationSeconds: return stopScanning_;
        default: return true;
    }
}

ChannelsConfigurationModel InstrumentConfigurationModel::channels(const ChannelSetup &offChannel) const {
    return ChannelsConfigurationModel(setup_, identity_, units_, offChannel, decimalSymbol_);
}

void InstrumentConfigurationModel::acceptChannels(const ChannelsConfigurationModel &accepted) {
    setup_.channels = accepted.setup().channels;
    setup_.equations = accepted.setup().equations;
    lowerDialogAccepted_ = true;
}

DataFileConfigurationModel InstrumentConfigurationModel::dataFile(const InstrumentTable &table, int slot) const {
    return DataFileConfigurationModel(setup_, table, slot, identity_, decimalSymbol_);
}

void InstrumentConfigurationModel::acceptDataFile(const DataFileConfigurationModel &accepted) {
    accepted.applyTo(setup_);
    lowerDialogAccepted_ = true;
}

Checked<InstrumentControl> InstrumentConfigurationModel::accept() {
    InstrumentSetup accepted = setup_;
    if (units_ != setup_.temperatureUnits) {
        for (int channel = 1; channel <= kAnalogChannels; ++channel) {
            followTemperatureUnits(accepted.channel(channel), units_);
        }
    }
    accepted.temperatureUnits = units_;
    accepted.totalizerDebounce = debounce_;
    if (monitor_ != 0 && accepted.channel(monitor_).function == ChannelFunction::Off) {
        return refuse(message::kMonitorChannelUndefined, InstrumentControl::MonitorChannel);
    }
    accepted.monitorChannel = static_cast<std::uint16_t>(monitor_);
    if (!identity_.slave()) {
        if (auto refused = acceptScanSettings(accepted)) return refused;
    }
    setup_ = std::move(accepted);
    return std::nullopt;
}

bool InstrumentConfigurationModel::mayCancel(UserInterface &ui) const {
    return !lowerDialogAccepted_ || askedYes(ui, resourceString(message::kLowerDialogChangesLost));
}

Checked<InstrumentControl> InstrumentConfigurationModel::acceptScanSettings(InstrumentSetup &accepted) const {
    const auto type = triggerTypeOf(triggers_);
    if (!type) return refuse(message::kNoTriggerType, InstrumentControl::IntervalTrigger);
    accepted.triggerType = *type;
    accepted.readingRate = rate_;
    accepted.driftCorrection = drift_;
    if (!identity_.wiredMaster()) accepted.triggerOut = triggerOut_;
    if (!interval1_.within(0.0, kLongestInterval, decimalSymbol_)) {
        return refuse(message::kPrimaryIntervalRange, InstrumentControl::Interval1);
    }
    if (!interval2_.within(0.0, kLongestInterval, decimalSymbol_)) {
        return refuse(message::kTriggerIntervalRange, InstrumentControl::Interval2);
    }
    accepted.interval1 = interval1_.value(decimalSymbol_);
    accepted.interval2 = interval2_.value(decimalSymbol_);
    accepted.stopAfterDuration = stopScanning_;
    if (!stopScanning_) return std::nullopt;
    // Whole numbers no larger than their fields hold, not all 0.
    const auto hours = typedWholeNumber(hours_);
    const auto minutes = typedWholeNumber(minutes_);
    const auto seconds = typedWholeNumber(seconds_);
    constexpr unsigned long kMostSeconds = 99;
    if (!hours || !minutes || !seconds || *hours > kMostDurationHours || *minutes > kMostDurationMinutes ||
        *seconds > kMostSeconds || *hours + *minutes + *seconds == 0) {
        return refuse(message::kDurationZero, InstrumentControl::DurationHours);
    }
    accepted.duration = static_cast<std::uint32_t>(*hours * 3600 + *minutes * 60 + *seconds);
    return std::nullopt;
}

} // namespace korvel

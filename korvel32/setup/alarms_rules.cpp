#include "setup/alarms_rules.h"

#include "platform/engineering_notation.h"

namespace korvel {

namespace {

constexpr int kShownDigits = 6;
constexpr int kSenses = 3;
constexpr int kOutputs = 9; // None, DO0 .. DO7

std::vector<std::string> codeTexts(std::uint16_t first, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) texts.push_back(resourceString(first + i));
    return texts;
}

} // namespace

AlarmsConfigurationModel::AlarmsConfigurationModel(const ChannelSetup &seed, const InstrumentIdentity &identity,
                                                   char decimalSymbol)
        : identity_(identity), decimalSymbol_(decimalSymbol), alarmTrigger_(seed.alarmTrigger) {
    const AlarmSetup *alarms[] = {&seed.alarm1, &seed.alarm2};
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const AlarmSetup &alarm = *alarms[i];
        entries_[i] = {alarm.sense, NumberField(alarm.value, engineeringText(alarm.value, kShownDigits, decimalSymbol)),
                       alarm.output};
    }
}

std::string AlarmsConfigurationModel::caption() const { return instrumentCaption("Alarms Configuration", identity_); }

std::vector<std::string> AlarmsConfigurationModel::senseItems() {
    return codeTexts(codeValue(AlarmSense::Off), kSenses);
}

std::vector<std::string> AlarmsConfigurationModel::outputItems() {
    return codeTexts(codeValue(AlarmOutput::None), kOutputs);
}

int AlarmsConfigurationModel::senseIndex(int alarm) const {
    return codeValue(at(alarm).sense) - codeValue(AlarmSense::Off);
}

void AlarmsConfigurationModel::chooseSense(int alarm, int index) {
    if (index < 0 || index >= kSenses) return;
    Entry &entry = at(alarm);
    entry.sense = static_cast<AlarmSense>(codeValue(AlarmSense::Off) + index);
    if (entry.sense == AlarmSense::Off) entry.output = AlarmOutput::None;
}

int AlarmsConfigurationModel::outputIndex(int alarm) const {
    return codeValue(at(alarm).output) - codeValue(AlarmOutput::None);
}

void AlarmsConfigurationModel::chooseOutput(int alarm, int index) {
    if (index < 0 || index >= kOutputs) return;
    at(alarm).output = static_cast<AlarmOutput>(codeValue(AlarmOutput::None) + index);
}

bool AlarmsConfigurationModel::enabled(AlarmsControl control) const {
    switch (control) {
        case AlarmsControl::Sense1:
        case AlarmsControl::Sense2: return true;
        case AlarmsControl::Value1:
        case AlarmsControl::Output1: return at(1).sense != AlarmSense::Off;
        case AlarmsControl::Value2:
        case AlarmsControl::Output2: return at(2).sense != AlarmSense::Off;
        case AlarmsControl::AlarmTrigger:
            return !identity_.slave() && (at(1).sense != AlarmSense::Off || at(2).sense != AlarmSense::Off);
    }
    return false;
}

Checked<AlarmsControl> AlarmsConfigurationModel::accept() {
    const AlarmsControl valueControls[] = {AlarmsControl::Value1, AlarmsControl::Value2};
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].value.within(-kValueLimit, kValueLimit, decimalSymbol_)) {
            return refuse(message::kInvalidAlarmValue, valueControls[i]);
        }
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry &entry = entries_[i];
        accepted_[i] = {entry.sense, entry.value.value(decimalSymbol_), entry.output};
    }
    return std::nullopt;
}

void AlarmsConfigurationModel::applyTo(ChannelSetup &channel) const {
    channel.alarm1 = accepted_[0];
    channel.alarm2 = accepted_[1];
    if (!identity_.slave()) channel.alarmTrigger = alarmTrigger_;
}

} // namespace korvel

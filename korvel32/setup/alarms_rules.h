// The Alarms Configuration dialog: two alarms per channel, each a sense, a
// value and a digital output, and whether an alarm triggers a scan.
#pragma once

#include "setup/dialog_numbers.h"
#include "setup/dialog_refusal.h"
#include "setup/instrument_identity.h"

#include <array>
#include <string>
#include <vector>

namespace korvel {

enum class AlarmsControl { Sense1, Value1, Output1, Sense2, Value2, Output2, AlarmTrigger };

class AlarmsConfigurationModel {
public:
    // Seeded with the first selected channel. Alarms are numbered 1 and 2.
    AlarmsConfigurationModel(const ChannelSetup &seed, const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    static std::vector<std::string> senseItems();  // "OFF", "LO", "HI"
    static std::vector<std::string> outputItems(); // "None", "DO0" ... "DO7"

    int senseIndex(int alarm) const;
    // OFF also sets the output back to "None".
    void chooseSense(int alarm, int index);
    const std::string &valueText(int alarm) const { return at(alarm).value.text(); }
    void setValueText(int alarm, std::string text) { at(alarm).value.setText(std::move(text)); }
    int outputIndex(int alarm) const;
    void chooseOutput(int alarm, int index);

    bool alarmTrigger() const { return alarmTrigger_; }
    void setAlarmTrigger(bool on) { alarmTrigger_ = on; }

    // The alarm-trigger box needs an alarm that is on, and is never a Slave's.
    bool enabled(AlarmsControl control) const;

    // Both values within +-9.9999e9 (220).
    Checked<AlarmsControl> accept();
    // The accepted alarms; a Slave's alarm-trigger flag stays its own.
    void applyTo(ChannelSetup &channel) const;

private:
    struct Entry {
        AlarmSense sense = AlarmSense::Off;
        NumberField value;
        AlarmOutput output = AlarmOutput::None;
    };
    Entry &at(int alarm) { return entries_.at(static_cast<std::size_t>(alarm - 1)); }
    const Entry &at(int alarm) const { return entries_.at(static_cast<std::size_t>(alarm - 1)); }

    InstrumentIdentity identity_;
    char decimalSymbol_;
    std::array<Entry, 2> entries_;
    bool alarmTrigger_ = true;
    std::array<AlarmSetup, 2> accepted_{};
};

} // namespace korvel

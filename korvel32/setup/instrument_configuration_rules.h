// The Instrument Configuration dialog, top of the configuration dialogs: the
// working copy of one instrument's setup that every lower dialog edits, its
// own scan settings, and the checks of its OK. Only its accepted setup goes
// back to the instrument.
#pragma once

#include "platform/user_interface.h"
#include "setup/channels_configuration_rules.h"
#include "setup/data_file_rules.h"
#include "setup/trigger_parts.h"

#include <string>
#include <vector>

namespace korvel {

enum class InstrumentControl {
    TemperatureUnits,
    TotalizerDebounce,
    MonitorChannel,
    IntervalTrigger,
    ExternalTrigger,
    AlarmTrigger,
    Interval1,
    Interval2,
    ReadingRate,
    DriftCorrection,
    TriggerOut,
    StopScanning,
    DurationHours,
    DurationMinutes,
    DurationSeconds,
    Channels,
    DataFile,
};

class InstrumentConfigurationModel {
public:
    InstrumentConfigurationModel(const InstrumentSetup &setup, const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    TemperatureUnits temperatureUnits() const { return units_; }
    void setTemperatureUnits(TemperatureUnits units) { units_ = units; }
    bool totalizerDebounce() const { return debounce_; }
    void setTotalizerDebounce(bool on) { debounce_ = on; }

    // "None", then the 30 channel identifiers; index n is channel n.
    std::vector<std::string> monitorItems() const;
    int monitorChannel() const { return monitor_; }
    void chooseMonitorChannel(int channel);

    TriggerParts triggers() const { return triggers_; }
    void setTriggers(TriggerParts triggers) { triggers_ = triggers; }

    // Interval 1 and 2 show "%.3f"; the duration fields its hours, minutes and seconds.
    const std::string &text(InstrumentControl field) const;
    void setText(InstrumentControl field, std::string text);

    static std::vector<std::string> readingRateItems(); // Slow (High Res.), Medium, Fast
    int readingRateIndex() const;
    // Below Fast the instrument always corrects drift.
    void chooseReadingRate(int index);
    bool driftCorrection() const { return drift_; }
    void setDriftCorrection(bool on);
    // A wired group's Master always puts out the trigger: shown ticked.
    bool triggerOut() const { return identity_.wiredMaster() || triggerOut_; }
    void setTriggerOut(bool on) { triggerOut_ = on; }
    bool stopScanning() const { return stopScanning_; }
    void setStopScanning(bool on) { stopScanning_ = on; }

    // A Slave scans as its Master says: its scan settings are disabled.
    bool enabled(InstrumentControl control) const;

    // Channels...: works on the working copy, with the units shown here.
    ChannelsConfigurationModel channels(const ChannelSetup &offChannel) const;
    void acceptChannels(const ChannelsConfigurationModel &accepted);
    // Data File...: the path is checked against the other instruments of the table.
    DataFileConfigurationModel dataFile(const InstrumentTable &table, int slot) const;
    void acceptDataFile(const DataFileConfigurationModel &accepted);

    // OK, in order: a change of temperature units turns the "°F"/"°C" labels
    // of the temperature channels; the monitor channel must be defined (77); a
    // Slave ends here. Then at least one trigger (78), interval 1 (75) and
    // interval 2 (76) within 0..86400 s, and with stop scanning a duration of
    // whole hours, minutes and seconds that is not 0 (79).
    Checked<InstrumentControl> accept();
    // Cancel after a lower dialog was accepted asks first (2101).
    bool mayCancel(UserInterface &ui) const;

    // The working copy: after accept() the instrument's new setup.
    const InstrumentSetup &setup() const { return setup_; }

private:
    Checked<InstrumentControl> acceptScanSettings(InstrumentSetup &accepted) const;

    InstrumentSetup setup_;
    InstrumentIdentity identity_;
    char decimalSymbol_;
    TemperatureUnits units_;
    bool debounce_;
    int monitor_;
    TriggerParts triggers_;
    NumberField interval1_;
    NumberField interval2_;
    ReadingRate rate_;
    bool drift_;
    bool triggerOut_;
    bool stopScanning_;
    std::string hours_;
    std::string minutes_;
    std::string seconds_;
    bool lowerDialogAccepted_ = false;
};

} // namespace korvel

// The Channels Configuration dialog: the analog and computed channel lists
// of the working copy, their exclusive selection, the label field, the
// sub-dialogs that apply to the selected channels (Function Selection or
// Computed Function, Mx+B, Alarms) and the checks of its OK.
#pragma once

#include "setup/alarms_rules.h"
#include "setup/computed_function_model.h"
#include "setup/function_selection_rules.h"
#include "setup/mxb_configuration_rules.h"

#include <string>
#include <vector>

namespace korvel {

enum class ChannelsControl { AnalogChannels, ComputedChannels, Label, ApplyLabel, Function, Mxb, Alarms };

// A list line: analog "%04u (%s),  %s  %s" (identifier, label, function,
// range; an OFF channel 11..20 that carries 4-wire leads reads "OFF (4W)"),
// computed "%04u (%s),  %s" (identifier, label, function).
std::string channelLine(const InstrumentSetup &setup, unsigned bcn, int channel);

class ChannelsConfigurationModel {
public:
    // Works on its own copy of the instrument's working copy; units are those
    // the Instrument Configuration dialog shows.
    ChannelsConfigurationModel(const InstrumentSetup &working, const InstrumentIdentity &identity,
                               TemperatureUnits units, const ChannelSetup &offChannel, char decimalSymbol);

    std::string caption() const;

    std::vector<std::string> analogLines() const;   // channels 1..20
    std::vector<std::string> computedLines() const; // channels 21..30

    // Selecting in one list clears the other. Channels by number; the first
    // selected seeds the sub-dialogs and the label field. Channel 1 starts selected.
    void selectAnalog(std::vector<int> channels);
    void selectComputed(std::vector<int> channels);
    const std::vector<int> &selection() const { return selection_; }
    bool computedSelected() const { return !selection_.empty() && isComputedChannel(selection_.front()); }

    const std::string &labelText() const { return label_; }
    void setLabelText(std::string text) { label_ = std::move(text); }
    // Apply Label: the label field to every selected channel.
    void applyLabel();

    bool enabled(ChannelsControl control) const;

    // Function...: Function Selection for analog channels. Applying its result
    // refuses, after the others took it, 4-wire functions on channels 11..20 (1313).
    FunctionSelectionModel functionSelection() const;
    Checked<ChannelsControl> applyFunction(const AnalogFunction &chosen);

    // Function...: Computed Function for computed channels; a definition
    // that reads its own or higher channels is refused there (1314).
    ComputedFunctionModel computedFunction() const;
    std::optional<ComputedChannelRefusal> applyComputed(const ComputedDefinition &definition);

    MxbConfigurationModel mxbConfiguration() const;
    void applyMxb(const MxbConfigurationModel &accepted);

    AlarmsConfigurationModel alarmsConfiguration() const;
    void applyAlarms(const AlarmsConfigurationModel &accepted);

    // OK: the equation buffer (1324) and the channels the computed channels
    // read (1315); then every OFF channel becomes the template's OFF channel.
    std::optional<ComputedChannelRefusal> accept();

    const InstrumentSetup &setup() const { return setup_; }

private:
    const ChannelSetup &firstSelected() const;

    InstrumentSetup setup_;
    InstrumentIdentity identity_;
    TemperatureUnits units_;
    ChannelSetup offChannel_;
    char decimalSymbol_;
    std::vector<int> selection_{1};
    std::string label_;
};

} // namespace korvel

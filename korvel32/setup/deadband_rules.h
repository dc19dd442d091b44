// The Deadband Values dialog: the Trend Link deadband of each defined channel,
// set for the selected channels by "Apply Value".
#pragma once

#include "setup/dialog_refusal.h"
#include "setup/instrument_identity.h"

#include <array>
#include <string>
#include <vector>

namespace korvel {

enum class DeadbandControl { Channels, Value, ApplyValue };

class DeadbandValuesModel {
public:
    // The first listed channel starts selected.
    DeadbandValuesModel(const InstrumentSetup &working, const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    // The defined channels, one per line, and their lines
    // "%02u%02u   %s\t   (%s, %s)": BCN, channel, deadband ("%#g" with the
    // regional decimal character), units and label.
    std::vector<int> channels() const;
    std::vector<std::string> lines() const;

    // By channel number; the value field then shows the first one's deadband.
    void select(std::vector<int> channels);
    const std::vector<int> &selection() const { return selection_; }

    const std::string &valueText() const { return value_; }
    void setValueText(std::string text) { value_ = std::move(text); }

    bool enabled(DeadbandControl control) const;

    // The value, within 0..9.9999e9 (1323), to every selected channel; below
    // 1e-8 it is 0.
    Checked<DeadbandControl> applyValue();

    float deadband(int channel) const { return deadbands_.at(static_cast<std::size_t>(channel)); }
    // OK: the deadbands into the working copy.
    void applyTo(InstrumentSetup &working) const;

private:
    struct Listed {
        int channel = 0;
        std::string units;
        std::string label;
    };
    std::string deadbandText(int channel) const;

    InstrumentIdentity identity_;
    char decimalSymbol_;
    std::vector<Listed> listed_;
    std::array<float, kChannelCount + 1> deadbands_{};
    std::vector<int> selection_;
    std::string value_;
};

} // namespace korvel

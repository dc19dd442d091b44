// The Function Selection dialog of an analog channel (1..20): the functions
// and ranges the instrument's model offers, the defaults a change of function
// or range fills in, which controls are enabled, and the checks of OK.
#pragma once

#include "setup/dialog_numbers.h"
#include "setup/dialog_refusal.h"
#include "setup/instrument_identity.h"

#include <string>
#include <vector>

namespace korvel {

enum class FunctionControl { Function, Range, R0, Alpha, Shunt, OpenTcDetect, UnitsLabel };

// What the dialog hands to the selected channels. R0 and alpha are 0 unless
// the function is an RTD (alpha also for Fixed-385), the shunt 0 unless it
// is Current.
struct AnalogFunction {
    ChannelFunction function = ChannelFunction::Off;
    RangeCode range = RangeCode::Off;
    double r0 = 0.0;
    double alpha = 0.0;
    bool openTcDetect = true;
    double shunt = 0.0;
    std::string unitsLabel;

    bool operator==(const AnalogFunction &) const = default;
};

// The functions an analog channel of the model can have, in list order.
std::vector<ChannelFunction> analogFunctions(ModelCode model);
// The ranges of the function on the model, in list order ("Auto" last); none
// for OFF and Freq.
std::vector<RangeCode> functionRanges(ModelCode model, ChannelFunction function);

class FunctionSelectionModel {
public:
    // Seeded with the first selected channel; units decide the temperature
    // channels' units label.
    FunctionSelectionModel(const ChannelSetup &seed, const InstrumentIdentity &identity, TemperatureUnits units,
                           char decimalSymbol);

    std::string caption() const;

    std::vector<std::string> functionItems() const;
    int functionIndex() const { return functionIndex_; }
    ChannelFunction function() const { return functions_[static_cast<std::size_t>(functionIndex_)]; }
    // A different function goes to its first range and brings its defaults.
    void chooseFunction(int index);

    std::vector<std::string> rangeItems() const;
    int rangeIndex() const { return rangeIndex_; } // -1 while the function has no range
    void chooseRange(int index);

    const std::string &r0Text() const { return r0_.text(); }
    void setR0Text(std::string text) { r0_.setText(std::move(text)); }
    const std::string &alphaText() const { return alpha_.text(); }
    void setAlphaText(std::string text) { alpha_.setText(std::move(text)); }
    const std::string &shuntText() const { return shunt_.text(); }
    void setShuntText(std::string text) { shunt_.setText(std::move(text)); }
    bool openTcDetect() const { return openTcDetect_; }
    void setOpenTcDetect(bool on) { openTcDetect_ = on; }
    const std::string &unitsLabel() const { return unitsLabel_; }
    void setUnitsLabel(std::string text) { unitsLabel_ = std::move(text); }

    bool enabled(FunctionControl control) const;

    // OK: R0 (156) and alpha (157) of an RTD, the shunt of Current (158).
    // On success result() holds the choice.
    Checked<FunctionControl> accept();
    const AnalogFunction &result() const { return result_; }

private:
    RangeCode range() const;
    std::string temperatureLabel() const;

    InstrumentIdentity identity_;
    TemperatureUnits units_;
    char decimalSymbol_;
    std::vector<ChannelFunction> functions_;
    int functionIndex_ = 0;
    int rangeIndex_ = -1;
    NumberField r0_;
    NumberField alpha_;
    NumberField shunt_;
    bool openTcDetect_ = true;
    std::string unitsLabel_;
    AnalogFunction result_;
};

} // namespace korvel

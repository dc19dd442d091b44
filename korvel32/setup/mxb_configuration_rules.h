// The Mx+B Configuration dialog and its two-point Mx+B Calculation: the
// factor and offset applied to the selected channels, and M and B worked out
// from an input range and the scaled range it stands for.
#pragma once

#include "setup/dialog_numbers.h"
#include "setup/dialog_refusal.h"
#include "setup/instrument_identity.h"

#include <array>
#include <string>

namespace korvel {

enum class MxbCalculationControl { InputMinimum, InputMaximum, ScaledMinimum, ScaledMaximum };

// The four entries of the calculation as typed, in control order.
using MxbCalculationEntries = std::array<std::string, 4>;

class MxbCalculationModel {
public:
    MxbCalculationModel(MxbCalculationEntries entries, const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    const std::string &text(MxbCalculationControl control) const { return entries_[index(control)]; }
    void setText(MxbCalculationControl control, std::string text) { entries_[index(control)] = std::move(text); }
    const MxbCalculationEntries &entries() const { return entries_; }

    // Each entry within +-9.9999e9 (290, 291, 293, 294), the input range at
    // least 1e-6 wide (292; it may run downwards), and M = (y2 - y1) / (x2 - x1),
    // B = y1 - M x1 within the same bounds (295).
    Checked<MxbCalculationControl> accept();
    double m() const { return m_; }
    double b() const { return b_; }

private:
    static std::size_t index(MxbCalculationControl control) { return static_cast<std::size_t>(control); }

    MxbCalculationEntries entries_;
    InstrumentIdentity identity_;
    char decimalSymbol_;
    double m_ = 1.0;
    double b_ = 0.0;
};

enum class MxbControl { Factor, Offset };

class MxbConfigurationModel {
public:
    // Seeded with the first selected channel.
    MxbConfigurationModel(const ChannelSetup &seed, const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    const std::string &factorText() const { return factor_.text(); }
    void setFactorText(std::string text) { factor_.setText(std::move(text)); }
    const std::string &offsetText() const { return offset_.text(); }
    void setOffsetText(std::string text) { offset_.setText(std::move(text)); }

    // The calculation opens with the entries it was last accepted with while
    // this dialog is open; its M and B go into the fields.
    MxbCalculationModel calculation() const;
    void acceptCalculation(const MxbCalculationModel &calculation);

    // M (289) and B (288) within +-9.9999e9.
    Checked<MxbControl> accept();
    // The accepted scaling; a factor and offset that change nothing turn it off.
    void applyTo(ChannelSetup &channel) const;

private:
    InstrumentIdentity identity_;
    char decimalSymbol_;
    NumberField factor_;
    NumberField offset_;
    MxbCalculationEntries remembered_{};
    double m_ = 1.0;
    double b_ = 0.0;
};

} // namespace korvel

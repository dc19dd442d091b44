#include "setup/mxb_configuration_rules.h"

#include "platform/engineering_notation.h"
#include "setup/mxb_scaling.h"

#include <cmath>

namespace korvel {

namespace {

constexpr int kShownDigits = 6;
constexpr double kNarrowestInputRange = 1e-6;

bool withinValueLimit(double value) { return -kValueLimit <= value && value <= kValueLimit; }

NumberField shownField(double value, char decimalSymbol) {
    return NumberField(value, engineeringText(value, kShownDigits, decimalSymbol));
}

} // namespace

MxbCalculationModel::MxbCalculationModel(MxbCalculationEntries entries, const InstrumentIdentity &identity,
                                         char decimalSymbol)
        : entries_(std::move(entries)), identity_(identity), decimalSymbol_(decimalSymbol) {}

std::string MxbCalculationModel::caption() const { return instrumentCaption("Mx+B Calculation", identity_); }

Checked<MxbCalculationControl> MxbCalculationModel::accept() {
    using enum MxbCalculationControl;
    constexpr std::array<std::pair<MxbCalculationControl, int>, 4> kChecks{{
        {InputMinimum, message::kInvalidInputMinimum},
        {InputMaximum, message::kInvalidInputMaximum},
        {ScaledMinimum, message::kInvalidScaledMinimum},
        {ScaledMaximum, message::kInvalidScaledMaximum},
    }};
    for (const auto &[control, messageId] : kChecks) {
        if (!typedWithin(text(control), -kValueLimit, kValueLimit, decimalSymbol_)) return refuse(messageId, control);
    }
    const double x1 = typedValue(text(InputMinimum), decimalSymbol_);
    const double x2 = typedValue(text(InputMaximum), decimalSymbol_);
    const double y1 = typedValue(text(ScaledMinimum), decimalSymbol_);
    const double y2 = typedValue(text(ScaledMaximum), decimalSymbol_);
    if (std::fabs(x2 - x1) < kNarrowestInputRange) return refuse(message::kInputRangeTooNarrow, InputMinimum);
    const double m = (y2 - y1) / (x2 - x1);
    const double b = y1 - m * x1;
    if (!withinValueLimit(m) || !withinValueLimit(b)) return refuse(message::kNoValidMxb, InputMinimum);
    m_ = m;
    b_ = b;
    return std::nullopt;
}

MxbConfigurationModel::MxbConfigurationModel(const ChannelSetup &seed, const InstrumentIdentity &identity,
                                             char decimalSymbol)
        : identity_(identity), decimalSymbol_(decimalSymbol), factor_(shownField(seed.m, decimalSymbol)),
          offset_(shownField(seed.b, decimalSymbol)) {}

std::string MxbConfigurationModel::caption() const { return instrumentCaption("Mx+B Configuration", identity_); }

MxbCalculationModel MxbConfigurationModel::calculation() const {
    return MxbCalculationModel(remembered_, identity_, decimalSymbol_);
}

void MxbConfigurationModel::acceptCalculation(const MxbCalculationModel &calculation) {
    remembered_ = calculation.entries();
    factor_ = shownField(calculation.m(), decimalSymbol_);
    offset_ = shownField(calculation.b(), decimalSymbol_);
}

Checked<MxbControl> MxbConfigurationModel::accept() {
    if (!factor_.within(-kValueLimit, kValueLimit, decimalSymbol_)) {
        return refuse(message::kInvalidFactor, MxbControl::Factor);
    }
    if (!offset_.within(-kValueLimit, kValueLimit, decimalSymbol_)) {
        return refuse(message::kInvalidOffset, MxbControl::Offset);
    }
    m_ = factor_.value(decimalSymbol_);
    b_ = offset_.value(decimalSymbol_);
    return std::nullopt;
}

void MxbConfigurationModel::applyTo(ChannelSetup &channel) const { setMxbScaling(channel, m_, b_); }

} // namespace korvel

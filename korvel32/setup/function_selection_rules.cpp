#include "setup/function_selection_rules.h"

#include "setup/channel_functions.h"
#include "setup/text_format.h"

#include <algorithm>
#include <iterator>

namespace korvel {

namespace {

constexpr double kDefaultR0 = 100.0;
constexpr double kDefaultShunt = 10.0;
constexpr double kCustom385Alpha = 0.00385055;
constexpr double kLowestR0 = 10.0, kHighestR0 = 1010.0;
constexpr double kLowestAlpha = 0.00374, kHighestAlpha = 0.00393;
constexpr double kLowestShunt = 10.0, kHighestShunt = 250.0;

using enum RangeCode;

std::vector<std::string> codeTexts(const auto &codes) {
    std::vector<std::string> texts;
    std::transform(codes.begin(), codes.end(), std::back_inserter(texts),
                   [](auto code) { return resourceString(codeValue(code)); });
    return texts;
}

std::string defaultUnits(ChannelFunction function) {
    switch (function) {
        case ChannelFunction::Vdc: return "VDC";
        case ChannelFunction::Vac: return "VAC";
        case ChannelFunction::Ohms2W:
        case ChannelFunction::Ohms4W: return "Ohms";
        case ChannelFunction::Freq: return "Hz";
        case ChannelFunction::Current: return "Percent";
        default: return {};
    }
}

int indexIn(const auto &items, auto item) {
    const auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? 0 : static_cast<int>(found - items.begin());
}

} // namespace

std::vector<ChannelFunction> analogFunctions(ModelCode model) {
    std::vector<ChannelFunction> functions;
    for (auto code = codeValue(ChannelFunction::Off); code <= codeValue(ChannelFunction::Current); ++code) {
        const auto function = static_cast<ChannelFunction>(code);
        // The M200A measures RTDs on four wires only.
        if (model == ModelCode::M200A && function == ChannelFunction::Rtd2W) continue;
        functions.push_back(function);
    }
    return functions;
}

std::vector<RangeCode> functionRanges(ModelCode model, ChannelFunction function) {
    const bool m100a = model == ModelCode::M100A;
    switch (function) {
        case ChannelFunction::Vdc: return {Vdc90mV, Vdc300mV, Vdc3V, Vdc30V, m100a ? Vdc150_300V : Vdc50V, Auto};
        case ChannelFunction::Vac:
            if (m100a) return {Vac300mV, Vac3V, Vac30V, Vac150_300V, Auto};
            return {Vac300mV, Vac3V, Vac30V, Auto};
        case ChannelFunction::Ohms2W:
            if (m100a) return {Ohms300, Ohms3k, Ohms30k, Ohms300k, Ohms3M, Auto};
            return {Ohms30k, Ohms300k, Ohms3M, Auto};
        case ChannelFunction::Ohms4W: return {Ohms300, Ohms3k, Ohms30k, Ohms300k, Ohms3M, Auto};
        case ChannelFunction::Thermocouple: return {TcJ, TcK, TcE, TcT, TcN, TcR, TcS, TcB, TcC};
        case ChannelFunction::Rtd2W:
        case ChannelFunction::Rtd4W: return {RtdFixed385, RtdCustom385};
        case ChannelFunction::Current: return {Current4to20mA, Current0to100mA};
        default: return {};
    }
}

FunctionSelectionModel::FunctionSelectionModel(const ChannelSetup &seed, const InstrumentIdentity &identity,
                                               TemperatureUnits units, char decimalSymbol)
        : identity_(identity), units_(units), decimalSymbol_(decimalSymbol),
          functions_(analogFunctions(identity.model)), functionIndex_(indexIn(functions_, seed.function)),
          openTcDetect_(seed.openTcDetect), unitsLabel_(seed.unitsLabel) {
    const std::vector<RangeCode> ranges = functionRanges(identity.model, function());
    rangeIndex_ = ranges.empty() ? -1 : indexIn(ranges, seed.range);
    if (isRtd(function())) {
        r0_ = NumberField(seed.r0, gText(seed.r0, decimalSymbol));
        if (range() == RtdCustom385) alpha_ = NumberField(seed.alpha, gText(seed.alpha, decimalSymbol));
    }
    if (function() == ChannelFunction::Current) shunt_ = NumberField(seed.shunt, gText(seed.shunt, decimalSymbol));
}

std::string FunctionSelectionModel::caption() const { return instrumentCaption("Function Selection", identity_); }

std::vector<std::string> FunctionSelectionModel::functionItems() const { return codeTexts(functions_); }

void FunctionSelectionModel::chooseFunction(int index) {
    if (index == functionIndex_ || index < 0 || index >= static_cast<int>(functions_.size())) return;
    functionIndex_ = index;
    const ChannelFunction chosen = function();
    rangeIndex_ = functionRanges(identity_.model, chosen).empty() ? -1 : 0;
    unitsLabel_ = defaultUnits(chosen);
    if (chosen == ChannelFunction::Thermocouple) {
        unitsLabel_ = temperatureLabel();
        openTcDetect_ = true;
    } else if (isRtd(chosen)) {
        unitsLabel_ = temperatureLabel();
        r0_ = NumberField(kDefaultR0, gText(kDefaultR0, decimalSymbol_));
        alpha_ = NumberField();
    } else if (chosen == ChannelFunction::Current) {
        shunt_ = NumberField(kDefaultShunt, gText(kDefaultShunt, decimalSymbol_));
    }
}

std::vector<std::string> FunctionSelectionModel::rangeItems() const {
    return codeTexts(functionRanges(identity_.model, function()));
}

void FunctionSelectionModel::chooseRange(int index) {
    const std::vector<RangeCode> ranges = functionRanges(identity_.model, function());
    if (index < 0 || index >= static_cast<int>(ranges.size())) return;
    rangeIndex_ = index;
    switch (range()) {
        case RtdCustom385: alpha_ = NumberField(kCustom385Alpha, gText(kCustom385Alpha, decimalSymbol_)); break;
        case RtdFixed385: alpha_ = NumberField(); break;
        case Current4to20mA: unitsLabel_ = "Percent"; break;
        case Current0to100mA: unitsLabel_ = "Amps"; break;
        default: break;
    }
}

bool FunctionSelectionModel::enabled(FunctionControl control) const {
    const ChannelFunction chosen = function();
    switch (control) {
        case FunctionControl::Function: return true;
        case FunctionControl::Range: return rangeIndex_ >= 0;
        case FunctionControl::R0: return isRtd(chosen);
        case FunctionControl::Alpha: return isRtd(chosen) && range() == RtdCustom385;
        case FunctionControl::Shunt: return chosen == ChannelFunction::Current;
        case FunctionControl::OpenTcDetect: return chosen == ChannelFunction::Thermocouple;
        case FunctionControl::UnitsLabel: return chosen != ChannelFunction::Off;
    }
    return false;
}

Checked<FunctionControl> FunctionSelectionModel::accept() {
    AnalogFunction chosen;
    chosen.function = function();
    chosen.range = range();
    chosen.openTcDetect = openTcDetect_;
    chosen.unitsLabel = unitsLabel_;
    if (isRtd(chosen.function)) {
        if (!r0_.within(kLowestR0, kHighestR0, decimalSymbol_))
            return refuse(message::kRtdR0Range, FunctionControl::R0);
        chosen.r0 = r0_.value(decimalSymbol_);
        if (chosen.range == RtdCustom385) {
            if (!alpha_.within(kLowestAlpha, kHighestAlpha, decimalSymbol_)) {
                Refusal<FunctionControl> refused = refuse(message::kRtdAlphaRange, FunctionControl::Alpha);
                refused.text =
                    filledIn(refused.text, "%g", {formatted("%g", kLowestAlpha), formatted("%g", kHighestAlpha)});
                return refused;
            }
            chosen.alpha = alpha_.value(decimalSymbol_);
        }
    }
    if (chosen.function == ChannelFunction::Current) {
        if (!shunt_.within(kLowestShunt, kHighestShunt, decimalSymbol_)) {
            return refuse(message::kShuntRange, FunctionControl::Shunt);
        }
        chosen.shunt = shunt_.value(decimalSymbol_);
    }
    result_ = std::move(chosen);
    return std::nullopt;
}

RangeCode FunctionSelectionModel::range() const {
    const std::vector<RangeCode> ranges = functionRanges(identity_.model, function());
    if (rangeIndex_ >= 0 && rangeIndex_ < static_cast<int>(ranges.size())) {
        return ranges[static_cast<std::size_t>(rangeIndex_)];
    }
    // Freq measures without a range; OFF keeps none.
    return function() == ChannelFunction::Freq ? Auto : RangeCode::Off;
}

std::string FunctionSelectionModel::temperatureLabel() const {
    return units_ == TemperatureUnits::Celsius ? kCelsiusUnitsLabel : kFahrenheitUnitsLabel;
}

} // namespace korvel

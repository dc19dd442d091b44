#include "platform/engineering_notation.h"

#include <array>
#include <cmath>
#include <cstring>
#include <iterator>

namespace korvel {
namespace {

constexpr std::size_t kSuffixLength = 3;

struct Step {
    double lowerBound; // of the magnitude, included
    double scale;
    char suffix[kSuffixLength + 1];
};

constexpr Step kSteps[] = {
    {1e9, 1e-9, "E+9"},  {1e6, 1e-6, "E+6"}, {1000, 0.001, "E+3"}, {0.01, 1, ""},
    {1e-4, 1000, "E-3"}, {1e-7, 1e6, "E-6"}, {1e-10, 1e9, "E-9"},
};
constexpr std::size_t kUnscaledStep = 3;
constexpr std::size_t kStepCount = std::size(kSteps);

// The step bounds in the precision of the number compared with them.
template <typename Number>
constexpr auto kBounds = [] {
    std::array<Number, kStepCount> bounds{};
    for (std::size_t i = 0; i < kStepCount; ++i) bounds[i] = static_cast<Number>(kSteps[i].lowerBound);
    return bounds;
}();

template <typename Number>
std::size_t writeInSteps(Number value, int digits, char decimalSymbol, char *out) {
    const Number magnitude = std::fabs(value);
    // The bounds descend: the step is the count of bounds above the
    // magnitude, counted without a branch (a NaN is above them all).
    std::size_t step = 0;
    for (const Number bound : kBounds<Number>) step += !(magnitude >= bound) ? 1 : 0;
    const auto exact = static_cast<double>(value);
    double scaled = 0; // below the last step: zero
    if (value == 0) {
        scaled = exact; // keeps the sign of a negative zero
        step = kUnscaledStep;
    } else if (step < kStepCount) {
        scaled = exact * kSteps[step].scale;
    } else {
        step = kUnscaledStep;
    }
    const std::size_t length = writeSignificant(scaled, digits, out, decimalSymbol);
    std::memcpy(out + length, kSteps[step].suffix, kSuffixLength + 1);
    return length + (step == kUnscaledStep ? 0 : kSuffixLength);
}

} // namespace

std::size_t writeEngineering(double value, int digits, char decimalSymbol, char *out) {
    return writeInSteps(value, digits, decimalSymbol, out);
}

std::size_t writeEngineering(float value, int digits, char decimalSymbol, char *out) {
    return writeInSteps(value, digits, decimalSymbol, out);
}

std::string engineeringText(double value, int digits, char decimalSymbol) {
    char text[kEngineeringTextCapacity];
    return std::string(text, writeEngineering(value, digits, decimalSymbol, text));
}

} // namespace korvel

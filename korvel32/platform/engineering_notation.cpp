#include "platform/engineering_notation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace korvel {
namespace {

template <typename Number>
struct Step {
    Number lowerBound; // of the magnitude, included
    Number scale;
    const char *suffix;
};

template <typename Number>
constexpr Step<Number> kSteps[] = {
    {Number(1e9), Number(1e-9), "E+9"},  {Number(1e6), Number(1e-6), "E+6"},  {Number(1000), Number(0.001), "E+3"},
    {Number(0.01), Number(1), ""},       {Number(1e-4), Number(1000), "E-3"}, {Number(1e-7), Number(1e6), "E-6"},
    {Number(1e-10), Number(1e9), "E-9"},
};

template <typename Number>
std::size_t writeInSteps(Number value, int digits, char decimalSymbol, char *out) {
    const Number magnitude = std::fabs(value);
    const auto &steps = kSteps<Number>;
    const auto *step = std::find_if(std::begin(steps), std::end(steps),
                                    [magnitude](const Step<Number> &s) { return magnitude >= s.lowerBound; });
    Number scaled = 0;
    const char *suffix = "";
    if (value == 0)
        scaled = value;
    else if (step != std::end(steps)) {
        scaled = value * step->scale;
        suffix = step->suffix;
    }
    std::size_t length = writeSignificant(static_cast<double>(scaled), digits, out);
    std::replace(out, out + length, '.', decimalSymbol);
    const std::size_t suffixLength = std::strlen(suffix);
    std::memcpy(out + length, suffix, suffixLength + 1);
    return length + suffixLength;
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

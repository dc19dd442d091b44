// The number texts by their definition, the slow and obvious way: the step
// chosen by magnitude, the number scaled as a double and printed by snprintf
// with "%#.*G", then the suffix and the decimal symbol. The fast formatter of
// the logger must give the same bytes; tests, benchmarks and the fuzz target
// compare with these.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>

namespace korvel::oracle {

// "%#.*G" of value, the point written as the given character.
inline std::size_t printfSignificant(double value, int digits, char point, char *out, std::size_t capacity) {
    const int length = std::snprintf(out, capacity, "%#.*G", digits, value);
    std::replace(out, out + length, '.', point);
    return static_cast<std::size_t>(length);
}

// The engineering steps: the magnitude compared with each lower bound as a
// number of the value's own type, the value scaled as a double.
template <typename Number>
std::size_t printfEngineering(Number value, int digits, char decimalSymbol, char *out, std::size_t capacity) {
    struct Step {
        double lowerBound;
        double scale;
        const char *suffix;
    };
    static constexpr Step kSteps[] = {{1e9, 1e-9, "E+9"}, {1e6, 1e-6, "E+6"}, {1e3, 1e-3, "E+3"}, {0.01, 1.0, ""},
                                      {1e-4, 1e3, "E-3"}, {1e-7, 1e6, "E-6"}, {1e-10, 1e9, "E-9"}};
    double scaled = 0.0;
    const char *suffix = "";
    if (value == 0) {
        scaled = static_cast<double>(value);
    } else {
        for (const Step &step : kSteps) {
            if (std::fabs(value) >= static_cast<Number>(step.lowerBound)) {
                scaled = static_cast<double>(value) * step.scale;
                suffix = step.suffix;
                break;
            }
        }
    }
    const std::size_t length = printfSignificant(scaled, digits, decimalSymbol, out, capacity);
    return length + static_cast<std::size_t>(std::snprintf(out + length, capacity - length, "%s", suffix));
}

// The value text of a reading in a data file.
inline std::size_t printfValueText(float reading, char decimalSymbol, char *out, std::size_t capacity) {
    const char *marker = nullptr;
    if (std::isnan(reading))
        marker = "+9.00E+9";
    else if (reading > 9.9999e9F)
        marker = "+1.00E+9";
    else if (reading < -9.9999e9F)
        marker = "-1.00E+9";
    if (marker == nullptr) return printfEngineering(reading, 6, decimalSymbol, out, capacity);
    const int length = std::snprintf(out, capacity, "%s", marker);
    std::replace(out, out + length, '.', decimalSymbol);
    return static_cast<std::size_t>(length);
}

inline std::string printfValueText(float reading, char decimalSymbol) {
    char text[64];
    return std::string(text, printfValueText(reading, decimalSymbol, text, sizeof text));
}

inline std::string printfEngineering(double value, int digits, char decimalSymbol) {
    char text[64];
    return std::string(text, printfEngineering(value, digits, decimalSymbol, text, sizeof text));
}

} // namespace korvel::oracle

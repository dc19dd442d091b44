#include "datafiles/value_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace korvel {
namespace {

float fromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

TEST(ValueText, WritesReadingsInEngineeringSteps) {
    EXPECT_EQ(valueText(12.5F, ','), "12,5000");
    EXPECT_EQ(valueText(1000.0F, '.'), "1.00000E+3");
    EXPECT_EQ(valueText(0.01F, '.'), "0.0100000");
    EXPECT_EQ(valueText(2.0F, '.'), "2.00000");
    EXPECT_EQ(valueText(1234.5F, '.'), "1.23450E+3");
    EXPECT_EQ(valueText(0.0042F, '.'), "4.20000E-3");
    EXPECT_EQ(valueText(-3.5e-8F, ','), "-35,0000E-9");
    EXPECT_EQ(valueText(5e-11F, '.'), "0.00000");
    EXPECT_EQ(valueText(0.0F, '.'), "0.00000");
}

TEST(ValueText, WritesTheSpecialReadingsAsMarkers) {
    EXPECT_EQ(valueText(fromBits(0x7FC00000), '.'), "+9.00E+9");
    EXPECT_EQ(valueText(fromBits(0x7FC00000), ','), "+9,00E+9");
    EXPECT_EQ(valueText(fromBits(0x7F800000), '.'), "+1.00E+9");
    EXPECT_EQ(valueText(fromBits(0xFF800000), ','), "-1,00E+9");
    EXPECT_EQ(valueText(2e10F, '.'), "+1.00E+9");
    EXPECT_EQ(valueText(-2e10F, '.'), "-1.00E+9");
    EXPECT_EQ(valueText(9.9e9F, '.'), "9.90000E+9");

    EXPECT_EQ(valueText(fromBits(0x7FC00000), ',', ValueStyle::Display), "Open TC");
    EXPECT_EQ(valueText(fromBits(0x7F800000), ',', ValueStyle::Display), "+Overload");
    EXPECT_EQ(valueText(-2e10F, ',', ValueStyle::Display), "-Overload");
    EXPECT_EQ(valueText(12.5F, ',', ValueStyle::Display), "12,5000");
}

TEST(ValueText, AppendsToTheScanLine) {
    std::string line = "35503.500000000";
    line += "; ";
    appendValueText(line, 12.5F, ',');
    EXPECT_EQ(line, "35503.500000000; 12,5000");
}

// The value text by its definition, written the slow way: steps
// chosen in single precision, then "%#.*G" with 6 digits.
std::string printfValueText(float v, char decimalSymbol) {
    struct Step {
        float lowerBound;
        float scale;
        const char *suffix;
    };
    static const Step steps[] = {{1e9F, 1e-9F, "E+9"}, {1e6F, 1e-6F, "E+6"}, {1e3F, 1e-3F, "E+3"}, {0.01F, 1.0F, ""},
                                 {1e-4F, 1e3F, "E-3"}, {1e-7F, 1e6F, "E-6"}, {1e-10F, 1e9F, "E-9"}};
    char text[64];
    if (std::isnan(v))
        std::snprintf(text, sizeof text, "+9.00E+9");
    else if (v > 9.9999e9F)
        std::snprintf(text, sizeof text, "+1.00E+9");
    else if (v < -9.9999e9F)
        std::snprintf(text, sizeof text, "-1.00E+9");
    else {
        float scaled = 0.0F;
        const char *suffix = "";
        if (v == 0.0F) scaled = v;
        for (const Step &step : steps) {
            if (v != 0.0F && std::fabs(v) >= step.lowerBound) {
                scaled = v * step.scale;
                suffix = step.suffix;
                break;
            }
        }
        std::snprintf(text, sizeof text, "%#.*G%s", 6, static_cast<double>(scaled), suffix);
    }
    for (char *c = text; *c != '\0'; ++c)
        if (*c == '.') *c = decimalSymbol;
    return text;
}

std::vector<float> boundaryReadings() {
    std::vector<float> readings;
    for (const float bound : {1e9F, 1e6F, 1e3F, 0.01F, 1e-4F, 1e-7F, 1e-10F, 9.9999e9F, 999.9995F, 0.099999995F}) {
        float below = bound;
        float above = bound;
        for (int i = 0; i < 64; ++i) {
            for (const float v : {below, above, -below, -above}) readings.push_back(v);
            below = std::nextafter(below, 0.0F);
            above = std::nextafter(above, std::numeric_limits<float>::infinity());
        }
    }
    return readings;
}

TEST(ValueText, IsByteIdenticalToPrintfAtTheStepBoundaries) {
    for (const float v : boundaryReadings())
        for (const char decimalSymbol : {'.', ','})
            ASSERT_EQ(valueText(v, decimalSymbol), printfValueText(v, decimalSymbol)) << v;
}

TEST(ValueText, IsByteIdenticalToPrintfOnRandomReadings) {
    std::mt19937 random(35503);
    std::uniform_real_distribution<float> mantissa(-10.0F, 10.0F);
    std::uniform_int_distribution<int> exponent(-12, 11);
    for (int i = 0; i < 500000; ++i) {
        // Half the sample over every bit pattern, half over the logger's range.
        const float v = (i % 2 == 0) ? fromBits(static_cast<std::uint32_t>(random()))
                                     : mantissa(random) * std::pow(10.0F, static_cast<float>(exponent(random)));
        ASSERT_EQ(valueText(v, '.'), printfValueText(v, '.')) << std::hexfloat << v;
    }
}

} // namespace
} // namespace korvel

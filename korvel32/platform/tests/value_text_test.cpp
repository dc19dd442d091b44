#include "platform/value_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "number_samples.h"
#include "printf_number_texts.h"

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
    EXPECT_EQ(valueText(-0.0F, '.'), "-0.00000");
    EXPECT_EQ(valueText(fromBits(0x00000001), '.'), "0.00000"); // the smallest subnormal
    EXPECT_EQ(valueText(9.999995e-3F, '.'), "10.0000E-3");      // rounds up, stays in its step
}

// Scaled in single precision, each of these came out one off in its last
// digit (999999.438 even as 1000.00E+3).
TEST(ValueText, ScalesTheReadingInDoublePrecision) {
    struct Case {
        float reading;
        const char *text;
    };
    const Case cases[] = {
        {12794.05F, "12.7940E+3"},      {1.00000499e9F, "1.00000E+9"},  {1000015.0F, "1.00001E+6"},
        {999999.438F, "999.999E+3"},    {1000.00494F, "1.00000E+3"},    {0.00999987498F, "9.99987E-3"},
        {0.0001000005F, "0.100000E-3"}, {9.99997501e-5F, "99.9998E-6"}, {1.00000499e-7F, "0.100000E-6"},
        {1.000015e-10F, "0.100002E-9"}, {-12794.05F, "-12.7940E+3"},
    };
    for (const Case &c : cases) EXPECT_EQ(valueText(c.reading, '.'), c.text) << c.reading;
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

TEST(ValueText, WritesIntoTheCallersBufferWithATerminatingZero) {
    const ValueTexts texts(',');
    char line[2 * kValueTextCapacity] = "x";
    std::size_t length = texts.write(12.5F, line);
    length += texts.write(fromBits(0x7FC00000), line + length);
    EXPECT_STREQ(line, "12,5000+9,00E+9");
    EXPECT_EQ(length, std::strlen(line));
}

TEST(ValueText, IsByteIdenticalToPrintfOnGeneratedReadings) {
    NumberSamples samples(35503);
    const ValueTexts point('.');
    const ValueTexts comma(',');
    char text[kValueTextCapacity];
    char expected[64];
    for (int i = 0; i < 300000; ++i) {
        const float reading = samples.nextReading();
        const bool useComma = i % 3 == 0;
        const std::size_t length = (useComma ? comma : point).write(reading, text);
        const std::size_t expectedLength =
            oracle::printfValueText(reading, useComma ? ',' : '.', expected, sizeof expected);
        ASSERT_EQ(std::string(text, length), std::string(expected, expectedLength))
            << std::hexfloat << reading << " (" << std::bit_cast<std::uint32_t>(reading) << ")";
    }
}

} // namespace
} // namespace korvel

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "platform/engineering_notation.h"
#include "platform/significant_digits.h"
#include "platform/typed_number.h"

#include "number_samples.h"
#include "printf_number_texts.h"

namespace korvel {
namespace {

std::string printfSignificant(double value, int digits, char point = '.') {
    char text[64];
    return std::string(text, oracle::printfSignificant(value, digits, point, text, sizeof text));
}

std::string significant(double value, int digits, char point = '.') {
    char text[kSignificantTextCapacity];
    const std::size_t length = writeSignificant(value, digits, text, point);
    EXPECT_EQ(length, std::strlen(text));
    return text;
}

TEST(SignificantDigits, MatchesPrintfAtTheLayoutAndRoundingEdges) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             9.999995,
                             9.9999949,
                             99999.95,
                             999999.5,
                             1e5,
                             123456.0,
                             1234567.0,
                             0.0001,
                             0.00009999995,
                             1e-5,
                             0.5,
                             2.5e-300,
                             1.7e308,
                             -42.125,
                             5e-324,
                             1e16,
                             0.015625,
                             2.0,
                             2.5,
                             0.125,
                             1e22,
                             1e23,
                             9.5,
                             0.95,
                             1e-14,
                             9.999995e-3,
                             4.9406564584124654e-324,
                             2.2250738585072014e-308};
    for (const double value : values)
        for (int digits = 0; digits <= kMaxSignificantDigits; ++digits)
            EXPECT_EQ(significant(value, digits), printfSignificant(value, digits)) << value << " " << digits;
    EXPECT_EQ(significant(std::numeric_limits<double>::infinity(), 6), printfSignificant(INFINITY, 6));
    EXPECT_EQ(significant(-std::numeric_limits<double>::infinity(), 6), printfSignificant(-INFINITY, 6));
    EXPECT_EQ(significant(std::nan(""), 6), printfSignificant(std::nan(""), 6));
}

TEST(SignificantDigits, MatchesPrintfOnGeneratedNumbers) {
    NumberSamples samples(2024);
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> digits(1, kMaxSignificantDigits);
    for (int i = 0; i < 200000; ++i) {
        const double value = samples.nextDouble();
        // Six digits, as every reading is written, for half of them.
        const int precision = i % 2 == 0 ? 6 : digits(random);
        const char point = i % 5 == 0 ? ',' : '.';
        ASSERT_EQ(significant(value, precision, point), printfSignificant(value, precision, point))
            << std::hexfloat << value << " " << precision;
    }
}

TEST(EngineeringNotation, ScalesIntoItsStepsWithTheirLowerBoundsIncluded) {
    struct Case {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {1234.5, "1.23450E+3"}, {0.0042, "4.20000E-3"}, {1000.0, "1.00000E+3"},      {0.01, "0.0100000"},
        {2.0, "2.00000"},       {0.0, "0.00000"},       {1e9, "1.00000E+9"},         {-2.5e9, "-2.50000E+9"},
        {1e6, "1.00000E+6"},    {999.9994, "999.999"},  {1e-4, "0.100000E-3"},       {2e-4, "0.200000E-3"},
        {1e-7, "0.100000E-6"},  {5e-7, "0.500000E-6"},  {1e-10, "0.100000E-9"},      {1.5e-10, "0.150000E-9"},
        {9e-11, "0.00000"},     {-9e-11, "0.00000"},    {999999.9999, "1000.00E+3"}, {999.9999, "1000.00"},
    };
    for (const Case &c : cases) EXPECT_EQ(engineeringText(c.value, 6, '.'), c.text) << c.value;
    EXPECT_EQ(engineeringText(1234.5, 3, ','), "1,23E+3");
    EXPECT_EQ(engineeringText(12.5, 6, ','), "12,5000");
}

TEST(EngineeringNotation, MatchesPrintfOfTheScaledDoubleOnGeneratedNumbers) {
    NumberSamples samples(1997);
    for (int i = 0; i < 100000; ++i) {
        const double value = samples.nextDouble();
        const int digits = 1 + i % kMaxSignificantDigits;
        ASSERT_EQ(engineeringText(value, digits, ','), oracle::printfEngineering(value, digits, ','))
            << std::hexfloat << value << " " << digits;
    }
}

TEST(TypedNumber, IsReadInTheRegionalFormatAndCheckedWithInclusiveBounds) {
    TypedNumber typed = readTypedNumber("12,5", 0.0, 100.0, ',');
    EXPECT_TRUE(typed.accepted);
    EXPECT_DOUBLE_EQ(typed.value, 12.5);
    EXPECT_TRUE(typed.complaint.empty());

    EXPECT_TRUE(readTypedNumber("0.05", 0.05, 24.0, '.').accepted);
    EXPECT_TRUE(readTypedNumber(" +24 sec", 0.05, 24.0, '.').accepted);
    EXPECT_DOUBLE_EQ(readTypedNumber("1e3", 0.0, 1e4, '.').value, 1000.0);

    typed = readTypedNumber("24.001", 0.04999, 24.00001, '.');
    EXPECT_FALSE(typed.accepted);
    EXPECT_EQ(typed.complaint, "Please enter a number between 0.0499900 and 24.0000.");
}

TEST(TypedNumber, TextWithoutANumberReadsAsZero) {
    EXPECT_TRUE(readTypedNumber("", 0.0, 1.0, '.').accepted);
    const TypedNumber typed = readTypedNumber("abc", 3.0, 1000.0, ',');
    EXPECT_FALSE(typed.accepted);
    EXPECT_DOUBLE_EQ(typed.value, 0.0);
    EXPECT_EQ(typed.complaint, "Please enter a number between 3,00000 and 1,00000E+3.");
    // Only the regional symbol is turned into a point; a typed point stays one.
    EXPECT_DOUBLE_EQ(readTypedNumber("1.5", 0.0, 9.0, ',').value, 1.5);
    EXPECT_DOUBLE_EQ(readTypedNumber("1,5", 0.0, 9.0, '.').value, 1.0);
}

} // namespace
} // namespace korvel

#include "platform/significant_digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace korvel {
namespace {

// Exact products of a double's 53-bit mantissa and a power of ten fit here.
__extension__ typedef unsigned __int128 Wide;

// The largest power of ten in 64 bits; numbers that would need a larger
// scale (beyond about 1E-13 and 1E+25 at six digits) take the library path.
constexpr int kMaxScale = 19;

constexpr auto kPowersOfTen = [] {
    std::array<std::uint64_t, kMaxScale + 1> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t &entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// Digits are moved in blocks of this fixed size, which compile to a couple
// of register moves; the digit buffer and the caller's text have room for
// the bytes a block carries past the digits that count.
constexpr std::size_t kDigitBlock = kMaxSignificantDigits;

// A number rounded to its significant digits: the digits and the decimal
// exponent of the first one, as the E layout would write them.
struct Rounded {
    char digits[2 * kDigitBlock]{};
    int exponent = 0;
    // Rounding carried into the next power of ten (9.999995 to 6 digits).
    bool carried = false;
};

// magnitude = mantissa × 2^exponent, exactly.
struct Binary {
    std::uint64_t mantissa;
    int exponent;
};

Binary binaryOf(double magnitude) {
    constexpr int kFractionBits = 52;
    constexpr int kExponentBias = 1075; // of the mantissa read as an integer
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> kFractionBits);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << kFractionBits) - 1);
    if (biased == 0) return {fraction, 1 - kExponentBias}; // subnormal
    return {fraction | (std::uint64_t{1} << kFractionBits), biased - kExponentBias};
}

int bitWidth(Wide value) {
    const auto high = static_cast<std::uint64_t>(value >> 64);
    return high != 0 ? 64 + std::bit_width(high) : std::bit_width(static_cast<std::uint64_t>(value));
}

// Where the part that truncation cut off lies against one half of the last
// digit: what rounding to nearest, ties to even, needs.
enum class Rest { None, BelowHalf, Half, AboveHalf };

struct Truncated {
    std::uint64_t value = 0;
    Rest rest = Rest::None;

    // The same number truncated one digit shorter.
    Truncated shortened() const {
        const std::uint64_t digit = value % 10;
        Rest shorter = Rest::AboveHalf;
        if (digit < 5)
            shorter = digit == 0 && rest == Rest::None ? Rest::None : Rest::BelowHalf;
        else if (digit == 5 && rest == Rest::None)
            shorter = Rest::Half;
        return {value / 10, shorter};
    }
};

// floor(number × 10^scale) by exact integer arithmetic; false when the
// operands would not fit.
bool truncateScaled(Binary number, int scale, Truncated &result) {
    if (scale > kMaxScale || scale < -kMaxScale) return false;
    Wide numerator = number.mantissa;
    Wide quotient = 0;
    Wide rest = 0;
    Wide unit = 1; // the denominator
    if (scale >= 0 && number.exponent < 0) {
        // The usual case: a division by a power of two. The product has at
        // most 53 + 64 bits.
        const int shift = -number.exponent;
        if (shift > 126) return false;
        numerator *= kPowersOfTen[static_cast<std::size_t>(scale)];
        unit <<= shift;
        quotient = numerator >> shift;
        rest = numerator & (unit - 1);
    } else {
        if (scale >= 0)
            numerator *= kPowersOfTen[static_cast<std::size_t>(scale)];
        else
            unit = kPowersOfTen[static_cast<std::size_t>(-scale)];
        if (number.exponent >= 0) {
            if (number.exponent > 127 - bitWidth(numerator)) return false;
            numerator <<= number.exponent;
        } else {
            if (-number.exponent > 126 - bitWidth(unit)) return false;
            unit <<= -number.exponent;
        }
        quotient = numerator / unit;
        rest = numerator % unit;
    }
    if (quotient >> 64 != 0) return false;
    result.value = static_cast<std::uint64_t>(quotient);
    const Wide half = unit >> 1; // exact: a unit above one is even
    result.rest = rest == 0 ? Rest::None : rest < half ? Rest::BelowHalf : rest == half ? Rest::Half : Rest::AboveHalf;
    return true;
}

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

// The count digits of value, the last one at digits[count - 1].
template <typename Unsigned>
void writeDigits(Unsigned value, int count, char *digits) {
    for (; count >= 2; count -= 2) {
        std::memcpy(digits + count - 2, kDigitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (count == 1) digits[0] = static_cast<char>('0' + value);
}

// Rounds a finite, non-zero magnitude to precision digits by exact integer
// arithmetic; false for magnitudes beyond its reach.
bool roundExactly(double magnitude, int precision, Rounded &rounded) {
    const Binary number = binaryOf(magnitude);
    const int binaryExponent = number.exponent + std::bit_width(number.mantissa) - 1;
    int exponent = (binaryExponent * 78913) >> 18; // floor(log10(2^binaryExponent)), nearly enough
    const std::uint64_t smallest = kPowersOfTen[static_cast<std::size_t>(precision - 1)];
    const std::uint64_t tooLarge = kPowersOfTen[static_cast<std::size_t>(precision)];
    Truncated truncated;
    if (!truncateScaled(number, precision - 1 - exponent, truncated)) return false;
    if (truncated.value < smallest) { // the estimate was one too high, which is rare
        --exponent;
        if (!truncateScaled(number, precision - 1 - exponent, truncated) || truncated.value < smallest) return false;
    }
    for (; truncated.value >= tooLarge; ++exponent) truncated = truncated.shortened();
    std::uint64_t digits = truncated.value;
    if (truncated.rest == Rest::AboveHalf || (truncated.rest == Rest::Half && digits % 2 == 1)) ++digits;
    rounded.carried = digits == tooLarge;
    if (rounded.carried) {
        digits = smallest;
        ++exponent;
    }
    rounded.exponent = exponent;
    constexpr int kDigitsIn32Bits = 9;
    if (precision <= kDigitsIn32Bits)
        writeDigits(static_cast<std::uint32_t>(digits), precision, rounded.digits);
    else
        writeDigits(digits, precision, rounded.digits);
    return true;
}

// The decimal exponent of a to_chars scientific text.
int exponentOf(const char *first, const char *last) {
    const char *mark = std::find(first, last, 'e');
    int exponent = 0;
    std::from_chars(mark + (mark[1] == '+' ? 2 : 1), last, exponent);
    return exponent;
}

// Magnitudes out of reach of the exact integer path: the standard library's
// correctly rounded conversion, which also uses no locale.
void roundByLibrary(double magnitude, int precision, Rounded &rounded) {
    char scientific[kSignificantTextCapacity];
    const char *end = std::to_chars(scientific, scientific + sizeof scientific, magnitude,
                                    std::chars_format::scientific, precision - 1)
                          .ptr;
    rounded.digits[0] = scientific[0];
    if (precision > 1) std::memcpy(rounded.digits + 1, scientific + 2, static_cast<std::size_t>(precision - 1));
    rounded.exponent = exponentOf(scientific, end);
    // Only a carry into the next power of ten leaves a one and zeros.
    const bool powerOfTen = rounded.digits[0] == '1' && std::all_of(rounded.digits + 1, rounded.digits + precision,
                                                                    [](char digit) { return digit == '0'; });
    if (!powerOfTen) return;
    char exact[kSignificantTextCapacity];
    const char *exactEnd = std::to_chars(exact, exact + sizeof exact, magnitude, std::chars_format::scientific).ptr;
    rounded.carried = exponentOf(exact, exactEnd) != rounded.exponent;
}

std::size_t writeSpecial(double value, char *out) {
    const char *text = std::isnan(value) ? (std::signbit(value) ? "-NAN" : "NAN") : (value < 0 ? "-INF" : "INF");
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length + 1);
    return length;
}

char *writeExponent(int exponent, char *write) {
    *write++ = 'E';
    *write++ = exponent < 0 ? '-' : '+';
    int magnitude = std::abs(exponent);
    if (magnitude >= 100) {
        *write++ = static_cast<char>('0' + magnitude / 100);
        magnitude %= 100;
    }
    std::memcpy(write, kDigitPairs + 2 * magnitude, 2);
    return write + 2;
}

// count of the digits, moved as one block.
char *copyDigits(const char *digits, int count, char *write) {
    std::memcpy(write, digits, kDigitBlock);
    return write + count;
}

// The layout "%#.*G" chooses by the exponent of the rounded number. The
// text starts at most one character (the sign) into out, so no block
// reaches past kSignificantTextCapacity.
char *layOut(const Rounded &rounded, int precision, char point, char *write) {
    const int exponent = rounded.exponent;
    const char *digits = rounded.digits;
    if (exponent < -4 || exponent >= precision) {
        // When rounding carries a number of the fixed layout into the
        // exponent one ("%#.5G" of 99999.95), the C library keeps that
        // layout's zero fraction digits (1.E+05); files written before were
        // written that way, so do the same.
        const int fraction = rounded.carried && exponent == precision ? 0 : precision - 1;
        *write++ = digits[0];
        *write++ = point;
        return writeExponent(exponent, copyDigits(digits + 1, fraction, write));
    }
    if (exponent >= 0) {
        write = copyDigits(digits, exponent + 1, write);
        *write++ = point;
        return copyDigits(digits + exponent + 1, precision - exponent - 1, write);
    }
    const char leadingZeros[] = {'0', point, '0', '0', '0', '0'};
    std::memcpy(write, leadingZeros, sizeof leadingZeros);
    return copyDigits(digits, precision, write + 1 - exponent);
}

} // namespace

std::size_t writeSignificant(double value, int digits, char *out, char point) {
    if (!std::isfinite(value)) return writeSpecial(value, out);
    const int precision = std::clamp(digits, kMinSignificantDigits, kMaxSignificantDigits);
    char *write = out;
    if (std::signbit(value)) *write++ = '-';
    const double magnitude = std::fabs(value);
    Rounded rounded;
    if (magnitude == 0)
        std::fill_n(rounded.digits, precision, '0');
    else if (!roundExactly(magnitude, precision, rounded))
        roundByLibrary(magnitude, precision, rounded);
    write = layOut(rounded, precision, point, write);
    *write = '\0';
    return static_cast<std::size_t>(write - out);
}

} // namespace korvel

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

// A number rounded to its significant digits: the digits as one integer of
// exactly that many digits (zero aside) and the decimal exponent of the
// first one, as the E layout would write them.
struct Rounded {
    std::uint64_t digits = 0;
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

// A number truncated to an integer, and where the part cut off lies against
// one half of the last digit: what rounding to nearest, ties to even, needs.
// Kept as flags, so that rounding takes no branch on the digits.
struct Truncated {
    std::uint64_t value = 0;
    bool aboveHalf = false;
    bool half = false;
    bool exact = true; // nothing cut off

    template <typename Unsigned>
    static Truncated of(std::uint64_t value, Unsigned rest, Unsigned half) {
        return {value, rest > half, rest == half && rest != 0, rest == 0}; // a unit of one has no half
    }

    // The same number truncated one digit shorter.
    Truncated shortened() const {
        const std::uint64_t digit = value % 10;
        return {value / 10, digit > 5 || (digit == 5 && !exact), digit == 5 && exact, digit == 0 && exact};
    }

    std::uint64_t rounded() const { return value + ((aboveHalf || (half && value % 2 == 1)) ? 1 : 0); }
};

// floor(number × 10^scale) for any operands that fit in 128 bits; false
// for the others.
bool truncateScaledWide(Binary number, int scale, Truncated &result) {
    if (scale > kMaxScale || scale < -kMaxScale) return false;
    Wide numerator = number.mantissa;
    Wide unit = 1; // the denominator
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
    const Wide quotient = numerator / unit;
    if (quotient >> 64 != 0) return false;
    // The half is exact: a unit above one is even (a power of two or of ten).
    result = Truncated::of(static_cast<std::uint64_t>(quotient), numerator % unit, unit >> 1);
    return true;
}

// floor(number × 10^scale) by exact integer arithmetic; false when the
// operands would not fit.
inline bool truncateScaled(Binary number, int scale, Truncated &result) {
    // The usual case, every reading's: a product of at most 53 + 64 bits
    // divided by a power of two below 2^64, a shift.
    if (scale >= 0 && scale <= kMaxScale && number.exponent < 0 && number.exponent > -64) {
        const Wide product = Wide{number.mantissa} * kPowersOfTen[static_cast<std::size_t>(scale)];
        const Wide quotient = product >> -number.exponent;
        if (quotient >> 64 == 0) {
            const std::uint64_t unit = std::uint64_t{1} << -number.exponent;
            result = Truncated::of(static_cast<std::uint64_t>(quotient),
                                   static_cast<std::uint64_t>(product) & (unit - 1), unit >> 1);
            return true;
        }
    }
    return truncateScaledWide(number, scale, result);
}

// The decimal exponents that the exact path reaches, as doubles: near
// enough to correct an estimate from the binary exponent.
constexpr int kLowestPower = -kMaxScale - 1;
constexpr int kHighestPower = kMaxSignificantDigits + kMaxScale;
constexpr auto kDecimalPowers = [] {
    std::array<double, kHighestPower - kLowestPower + 1> powers{};
    for (int exponent = kLowestPower; exponent <= kHighestPower; ++exponent) {
        double power = 1;
        for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) power *= 10;
        powers[static_cast<std::size_t>(exponent - kLowestPower)] = exponent < 0 ? 1 / power : power;
    }
    return powers;
}();

// floor(log10(magnitude)) but for magnitudes within a rounding of a power of
// ten, where it may be one off; the count of digits then corrects it.
int decimalExponentOf(double magnitude, int binaryExponent) {
    int exponent = (binaryExponent * 78913) >> 18; // floor(binaryExponent × log10(2)), or one below
    if (exponent >= kLowestPower && exponent < kHighestPower)
        exponent += magnitude >= kDecimalPowers[static_cast<std::size_t>(exponent + 1 - kLowestPower)] ? 1 : 0;
    return exponent;
}

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

// The count digits of value, the last one at digits[count - 1].
void writeDigits(std::uint64_t value, int count, char *digits) {
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
    int exponent = decimalExponentOf(magnitude, number.exponent + std::bit_width(number.mantissa) - 1);
    const std::uint64_t smallest = kPowersOfTen[static_cast<std::size_t>(precision - 1)];
    const std::uint64_t tooLarge = kPowersOfTen[static_cast<std::size_t>(precision)];
    Truncated truncated;
    if (!truncateScaled(number, precision - 1 - exponent, truncated)) return false;
    if (truncated.value < smallest) { // the exponent was one too high
        --exponent;
        if (!truncateScaled(number, precision - 1 - exponent, truncated) || truncated.value < smallest) return false;
    }
    for (; truncated.value >= tooLarge; ++exponent) truncated = truncated.shortened();
    std::uint64_t digits = truncated.rounded();
    rounded.carried = digits == tooLarge;
    if (rounded.carried) {
        digits = smallest;
        ++exponent;
    }
    rounded.digits = digits;
    rounded.exponent = exponent;
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
    // d.ddddde+XX: the digits without the point.
    rounded.digits = static_cast<std::uint64_t>(scientific[0] - '0');
    for (int i = 2; i < precision + 1; ++i)
        rounded.digits = rounded.digits * 10 + static_cast<std::uint64_t>(scientific[i] - '0');
    rounded.exponent = exponentOf(scientific, end);
    // Only a carry into the next power of ten leaves a one and zeros.
    if (rounded.digits != kPowersOfTen[static_cast<std::size_t>(precision - 1)]) return;
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

// Eight ASCII digits of value (below 10^8), the first in the lowest byte,
// computed in a register: eight at once, and no stores that a wider load
// would then have to wait for.
std::uint64_t eightDigits(std::uint32_t value) {
    const std::uint64_t halves = (value / 10000) | (static_cast<std::uint64_t>(value % 10000) << 32);
    const std::uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007Full; // each half / 100
    const std::uint64_t pairs = hundreds | ((halves - hundreds * 100) << 16);
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Full; // each pair / 10
    return tens | ((pairs - tens * 10) << 8) | 0x3030303030303030ull;
}

static_assert(std::endian::native == std::endian::little, "the digit words are laid out low byte first");

// Numbers of up to this many digits are laid out as one word with the point.
constexpr int kWordDigits = 7;

// The digits with the point after the first `before` of them.
std::uint64_t withPoint(std::uint64_t digits, int before, char point) {
    const std::uint64_t head = (std::uint64_t{1} << (8 * before)) - 1;
    return (digits & head) | (std::uint64_t{static_cast<unsigned char>(point)} << (8 * before)) |
           ((digits & ~head) << 8);
}

// When rounding carries a number of the fixed layout into the exponent one
// ("%#.5G" of 99999.95), the C library keeps that layout's zero fraction
// digits (1.E+05); files written before were written that way, so do the same.
int fractionDigits(const Rounded &rounded, int precision) {
    return rounded.carried && rounded.exponent == precision ? 0 : precision - 1;
}

bool exponentLayout(int exponent, int precision) { return exponent < -4 || exponent >= precision; }

// The layout "%#.*G" chooses by the exponent of the rounded number, for up to
// kWordDigits digits: each text stored as words, which write at most 16
// characters past the sign.
char *layOutShort(const Rounded &rounded, int precision, char point, char *write) {
    const int exponent = rounded.exponent;
    const std::uint64_t digits =
        eightDigits(static_cast<std::uint32_t>(rounded.digits * kPowersOfTen[static_cast<std::size_t>(8 - precision)]));
    if (exponentLayout(exponent, precision)) {
        const std::uint64_t text = withPoint(digits, 1, point);
        std::memcpy(write, &text, sizeof text);
        return writeExponent(exponent, write + 2 + fractionDigits(rounded, precision));
    }
    if (exponent >= 0) {
        const std::uint64_t text = withPoint(digits, exponent + 1, point);
        std::memcpy(write, &text, sizeof text);
        return write + precision + 1;
    }
    const char leadingZeros[8] = {'0', point, '0', '0', '0', '0', '0', '0'};
    std::memcpy(write, leadingZeros, sizeof leadingZeros);
    write += 1 - exponent;
    std::memcpy(write, &digits, sizeof digits);
    return write + precision;
}

// The same for any count of digits, a character at a time.
char *layOutLong(const Rounded &rounded, int precision, char point, char *write) {
    const int exponent = rounded.exponent;
    char digits[kMaxSignificantDigits];
    writeDigits(rounded.digits, precision, digits);
    if (exponentLayout(exponent, precision)) {
        *write++ = digits[0];
        *write++ = point;
        return writeExponent(exponent, std::copy_n(digits + 1, fractionDigits(rounded, precision), write));
    }
    if (exponent >= 0) {
        write = std::copy_n(digits, exponent + 1, write);
        *write++ = point;
        return std::copy_n(digits + exponent + 1, precision - exponent - 1, write);
    }
    *write++ = '0';
    *write++ = point;
    write = std::fill_n(write, -exponent - 1, '0');
    return std::copy_n(digits, precision, write);
}

} // namespace

std::size_t writeSignificant(double value, int digits, char *out, char point) {
    if (!std::isfinite(value)) return writeSpecial(value, out);
    const int precision = std::clamp(digits, kMinSignificantDigits, kMaxSignificantDigits);
    char *write = out;
    if (std::signbit(value)) *write++ = '-';
    const double magnitude = std::fabs(value);
    Rounded rounded; // zero unless rounded
    if (magnitude != 0 && !roundExactly(magnitude, precision, rounded)) roundByLibrary(magnitude, precision, rounded);
    write = precision <= kWordDigits ? layOutShort(rounded, precision, point, write)
                                     : layOutLong(rounded, precision, point, write);
    *write = '\0';
    return static_cast<std::size_t>(write - out);
}

} // namespace korvel

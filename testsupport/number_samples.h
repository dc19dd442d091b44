// Numbers that reach every corner of the number texts: any bit pattern
// (NaNs, infinities, subnormals), the range of real readings, powers of ten
// and the bounds of the engineering steps give or take a few units in the last
// place, numbers half-way between two six-digit texts (9.999995E-3 rounds up
// into the next step), negative zero and the special readings.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>

namespace korvel {

class NumberSamples {
public:
    explicit NumberSamples(std::uint64_t seed) : random_(seed) {}

    float nextReading() {
        switch (count_++ % 6) {
            case 0: return std::bit_cast<float>(static_cast<std::uint32_t>(random_()));
            case 1: return signed_(mantissa() * static_cast<float>(std::pow(10.0, between(-11, 10))));
            case 2: return nudged(static_cast<float>(std::pow(10.0, between(-45, 38))), 8);
            case 3: return signed_(nudged(kBounds[random_() % std::size(kBounds)], 16));
            case 4: return signed_(nudged(static_cast<float>(halfWay(between(-11, 10))), 2));
            default: return special();
        }
    }

    // Doubles of every kind: any bit pattern, widened readings, and the
    // half-way numbers and powers of ten in double precision.
    double nextDouble() {
        switch (doubleCount_++ % 4) {
            case 0: return std::bit_cast<double>(random_());
            case 1: return static_cast<double>(nextReading());
            case 2: return nudged(std::pow(10.0, between(-320, 308)), 4);
            default: return nudged(halfWay(between(-20, 20)), 1);
        }
    }

private:
    static constexpr float kBounds[] = {1e9F, 1e6F, 1e3F, 0.01F, 1e-4F, 1e-7F, 1e-10F, 9.9999e9F};

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    float mantissa() { return std::uniform_real_distribution<float>(1.0F, 10.0F)(random_); }
    template <typename Number>
    Number signed_(Number value) {
        return random_() % 2 ? -value : value;
    }

    // The value moved by up to the given units in the last place either way.
    template <typename Number>
    Number nudged(Number value, int units) {
        const int steps = between(-units, units);
        const Number toward = steps < 0 ? Number(0) : std::numeric_limits<Number>::infinity();
        for (int i = 0; i < std::abs(steps); ++i) value = std::nextafter(value, toward);
        return value;
    }

    // d.ddddd5 × 10^exponent: half-way between two six-digit numbers, often
    // nines that carry into the next power of ten.
    double halfWay(int exponent) {
        const std::uint64_t digits = random_() % 4 == 0 ? 999999 : 100000 + random_() % 900000;
        return static_cast<double>(digits * 10 + 5) * std::pow(10.0, exponent - 6);
    }

    float special() {
        constexpr std::uint32_t kPatterns[] = {0x00000000, 0x80000000, 0x7FC00000, 0x7F800000, 0xFF800000};
        if (random_() % 2) return std::bit_cast<float>(kPatterns[random_() % std::size(kPatterns)]);
        // A subnormal reading.
        return std::bit_cast<float>(static_cast<std::uint32_t>(random_()) & 0x807FFFFFu);
    }

    std::mt19937_64 random_;
    std::uint64_t count_ = 0;
    std::uint64_t doubleCount_ = 0;
};

} // namespace korvel

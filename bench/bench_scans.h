// The scans the data-file benchmarks write: one a second from midnight of
// the first of a month of 2024, around its first four weeks, with readings
// of every engineering step from E-10 to E+9 and of both signs. The same
// seed every run, so that runs compare.
#pragma once

#include "kvlink32.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>

class BenchScans {
public:
    explicit BenchScans(std::uint8_t month) : month_(month) {}

    // The next scan, with its first `channels` readings set.
    ScanRecord next(int channels) {
        const std::size_t n = count_++;
        const std::size_t second = n % kSecondsOfFourWeeks;
        ScanRecord scan{};
        scan.time = {static_cast<std::uint8_t>(second / 3600 % 24),
                     static_cast<std::uint8_t>(second / 60 % 60),
                     static_cast<std::uint8_t>(second % 60),
                     month_,
                     0,
                     static_cast<std::uint8_t>(1 + second / 86400),
                     24,
                     0};
        scan.msAndDio = static_cast<std::uint32_t>(n % 1000) | (0x5Au << 16);
        scan.totalizer = static_cast<std::uint32_t>(n);
        scan.alarm1 = static_cast<std::uint32_t>(n % 7);
        for (int c = 0; c < channels; ++c)
            scan.readings[c] = static_cast<float>((random_() % 2 ? 1 : -1) * std::pow(10.0, exponent_(random_)));
        return scan;
    }

private:
    static constexpr std::size_t kSecondsOfFourWeeks = 28 * 86400;

    std::mt19937 random_{1234};
    std::uniform_real_distribution<double> exponent_{-10.0, 9.99};
    std::uint8_t month_;
    std::size_t count_ = 0;
};

// The number formatter against the C library: the value texts of 12 million
// readings (every kind: the logger's range, any bit pattern with subnormals,
// NaN and infinities, powers of ten and step bounds give or take a few units
// in the last place, half-way numbers that round up into the next step,
// negative zero, the special readings) and "%#.6G" of 12 million doubles,
// each written by the formatter and by snprintf("%#.6G") in the same run,
// fastest of three rounds each. Every text is then compared byte for byte.
//
// The goal is on the value texts, which the data files, windows and live
// values write. The doubles reach every magnitude, and about half of them lie
// beyond 1E+25 or below 1E-13, where the formatter hands the rounding to the
// standard library; their figure is shown for what it is.
//
// usage: number_text_bench [millions of values, default 12]
#include "platform/significant_digits.h"
#include "platform/value_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "number_samples.h"
#include "printf_number_texts.h"

namespace {

using namespace korvel;

constexpr int kRounds = 3;
constexpr std::size_t kTextCapacity = 64;

double secondsOf(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Writes every value's text into a reused area, as a data file's line buffer
// would take them, and returns the bytes written so that no work is skipped.
template <typename Value, typename Write>
std::size_t writeAll(const std::vector<Value> &values, Write write) {
    static char area[1 << 16];
    std::size_t total = 0;
    std::size_t at = 0;
    for (const Value value : values) {
        if (at + kTextCapacity > sizeof area) at = 0;
        const std::size_t length = write(value, area + at);
        at += length;
        total += length;
    }
    return total;
}

struct Contest {
    const char *name;
    double formatter = 1e9;
    double baseline = 1e9;
    std::size_t differences = 0;
};

template <typename Value, typename Formatter, typename Baseline>
Contest run(const char *name, const std::vector<Value> &values, Formatter formatter, Baseline baseline) {
    Contest contest{name};
    std::size_t written[2] = {};
    for (int round = 0; round < kRounds; ++round) {
        contest.formatter = std::min(contest.formatter, secondsOf([&] { written[0] = writeAll(values, formatter); }));
        contest.baseline = std::min(contest.baseline, secondsOf([&] { written[1] = writeAll(values, baseline); }));
    }
    for (const Value value : values) {
        char ours[kTextCapacity];
        char theirs[kTextCapacity];
        const std::size_t length = formatter(value, ours);
        if (length != baseline(value, theirs) || std::memcmp(ours, theirs, length) != 0) {
            if (contest.differences++ < 5)
                std::printf("  %s: %a gives %.*s, snprintf %s\n", name, static_cast<double>(value),
                            static_cast<int>(length), ours, theirs);
        }
    }
    if (written[0] != written[1]) ++contest.differences;
    return contest;
}

// A goal of 0: byte-identical texts are all that is asked.
bool report(const Contest &contest, std::size_t count, double goal) {
    const double ratio = contest.baseline / contest.formatter;
    const bool met = ratio >= goal && contest.differences == 0;
    std::printf("%-22s %8.1f ns %8.1f ns   %5.2f (goal %.2f) %s   %zu differences\n", contest.name,
                1e9 * contest.formatter / static_cast<double>(count),
                1e9 * contest.baseline / static_cast<double>(count), ratio, goal, met ? "met" : "MISSED",
                contest.differences);
    return met;
}

} // namespace

int main(int argc, char **argv) {
    const long millions = argc > 1 ? std::atol(argv[1]) : 12;
    if (millions <= 0) {
        std::fprintf(stderr, "usage: number_text_bench [millions of values]\n");
        return 2;
    }
    const auto count = static_cast<std::size_t>(millions) * 1000000;
    NumberSamples samples(1997);
    std::vector<float> readings(count);
    std::vector<double> doubles(count);
    for (float &reading : readings) reading = samples.nextReading();
    for (double &value : doubles) value = samples.nextDouble();

    const ValueTexts texts('.');
    const Contest valueTexts = run(
        "value texts", readings, [&](float reading, char *out) { return texts.write(reading, out); },
        [](float reading, char *out) { return oracle::printfValueText(reading, '.', out, kTextCapacity); });
    const Contest significant = run(
        "%#.6G, any double", doubles, [](double value, char *out) { return writeSignificant(value, 6, out); },
        [](double value, char *out) { return oracle::printfSignificant(value, 6, '.', out, kTextCapacity); });

    std::printf("%zu values each, fastest of %d rounds\n", count, kRounds);
    std::printf("%-22s %11s %11s   %s\n", "", "formatter", "snprintf", "ratio");
    const bool met = report(valueTexts, count, 3.0) & report(significant, count, 0.0);
    return met ? 0 : 1;
}

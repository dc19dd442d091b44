#include "scan_text.h"

#include "channel_layout.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qpext32 {
namespace {

// Byte offsets within a scan record.
constexpr std::size_t kTime = 4;
constexpr std::size_t kMillisecondsAndDio = 12;
constexpr std::size_t kAlarm1 = 16;
constexpr std::size_t kAlarm2 = 20;
constexpr std::size_t kTotalizer = 24;

std::uint32_t wordAt(const std::uint8_t *record, std::size_t offset) {
    std::uint32_t word;
    std::memcpy(&word, record + offset, sizeof(word));
    return word;
}

void appendReading(std::string &out, float reading) {
    if (std::isnan(reading)) {
        out += "+9.00E+9";
    } else if (std::isinf(reading)) {
        out += reading > 0 ? "+1.00E+9" : "-1.00E+9";
    } else {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof(digits), reading).ptr;
        out.append(digits, end);
    }
}

} // namespace

void appendScanCsv(std::string &out, const std::uint8_t *record, std::uint32_t recordSize) {
    const std::uint8_t *time = record + kTime; // hour, minute, second, month, -, day, year
    const std::uint32_t msAndDio = wordAt(record, kMillisecondsAndDio);
    char stamp[40];
    const auto field = [time](int index) { return static_cast<unsigned>(time[index]); };
    std::snprintf(stamp, sizeof(stamp), "20%02u-%02u-%02u %02u:%02u:%02u.%03u", field(6) % 100u, field(3), field(5),
                  field(0), field(1), field(2), (msAndDio & 0xFFFFu) % 1000u);
    out += stamp;
    for (std::size_t offset = kScanHeaderBytes; offset + 4 <= recordSize; offset += 4) {
        float reading;
        std::memcpy(&reading, record + offset, sizeof(reading));
        out.push_back(',');
        appendReading(out, reading);
    }
    out += ',' + std::to_string((msAndDio >> 16) & 0xFFu) + ',' + std::to_string(wordAt(record, kTotalizer)) + ',' +
           std::to_string(wordAt(record, kAlarm1)) + ',' + std::to_string(wordAt(record, kAlarm2));
}

} // namespace qpext32

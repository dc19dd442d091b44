// The pieces of a .csv scan line: the serial date of the scan, then for each
// instrument of the line its readings' value texts and its DIO, totalizer
// and alarm words, each after the list separator and a space. The .csv
// writer and the conversion of Fast data files both write their lines here,
// straight into the caller's buffer.
#pragma once

#include "datafiles/serial_date.h"
#include "platform/value_text.h"

#include "kvlink32.h"

#include <cstddef>

namespace korvel {

struct DaylightStates;
struct RegionalFormats;

class AsciiScanLine {
public:
    // Room that writeTime needs at most.
    static constexpr std::size_t kTimeCapacity = kSerialDateCapacity;
    // Room that writePart needs at most: every channel and the four words.
    static constexpr std::size_t kPartCapacity = KVX_MAX_CHANNELS * (2 + kValueTextCapacity) + 4 * (2 + 10);

    explicit AsciiScanLine(const RegionalFormats &formats);

    // The serial date of the scan, its time converted with the run's
    // daylight states. Returns the end of what was written.
    char *writeTime(const ScanRecord &scan, DaylightStates &daylight, char *out) const;

    // One instrument's columns after the time: the first `channels`
    // readings, then DIO, totalizer, alarm 1 and alarm 2.
    char *writePart(const ScanRecord &scan, std::size_t channels, char *out) const;

private:
    char *writeSeparator(char *out) const;
    char *writeNumber(char *out, std::uint32_t value) const;

    char separator_;
    char decimal_;
    ValueTexts values_;
};

} // namespace korvel

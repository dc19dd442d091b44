// The tags of one instrument's data set, in the order of a scan's values:
// one per channel that is not OFF, described by the channel's label and
// units, limited by its alarms and held back by its deadband; then the
// digital I/O, the totalizer and the two alarm words.
#pragma once

#include "datafiles/data_file_group.h"

#include "kvlink32.h"

#include <cstdint>

#include <string>
#include <vector>

namespace korvel {

// A limit no value reaches, for a channel without such an alarm.
inline constexpr double kNoTagLimit = 3.0e38;

// Without limits given, a tag has none.
struct TrendLinkTag {
    std::string name;
    std::string description;
    std::string units;
    double high = kNoTagLimit;
    double low = -kNoTagLimit;
    double deadband = 0.0;
};

std::vector<TrendLinkTag> instrumentTags(const InstrumentPart &part);

// Writes the values of one instrument's scan in the order of its tags, from
// out on: its first channels readings (the special readings as the markers
// the chart program knows), then DIO, totalizer and the alarm words. Returns the end.
float *scanValues(const ScanRecord &scan, std::size_t channels, float *out);

} // namespace korvel

#include "setup/time_parts.h"

#include <algorithm>

namespace korvel {

DurationParts durationParts(std::uint32_t seconds) {
    const unsigned hours = std::min(seconds / 3600, kMostDurationHours);
    const unsigned minutes = std::min((seconds - hours * 3600) / 60, kMostDurationMinutes);
    return {hours, minutes, seconds % 60};
}

PeriodParts batchPeriodParts(std::uint16_t minutes) {
    constexpr unsigned kMostBatchHours = 999;
    const unsigned hours = std::min(minutes / 60u, kMostBatchHours);
    return {hours, minutes - hours * 60};
}

} // namespace korvel

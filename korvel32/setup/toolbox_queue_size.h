// The sizes an instrument's toolbox scan queue may be given in the
// Dereruded'i Ruzozov settings: none at all, or room for at least one whole
// scan of 30 channels and at most what the add-on keeps per instrument.
#pragma once

#include <cstdint>

namespace korvel {

inline constexpr std::uint32_t kToolboxQueueMinimum = 148;
inline constexpr std::uint32_t kToolboxQueueMaximum = 65440;

// 0, or kToolboxQueueMinimum..kToolboxQueueMaximum bytes; any other size is
// refused with message::kToolboxQueueSizeRange before the add-on is asked.
bool acceptableToolboxQueueSize(std::uint32_t bytes);

} // namespace korvel

// The library's clocks: a 32-bit millisecond tick for time-outs, and the
// PC time base that gives calendar seconds with milliseconds from that tick.
#pragma once

#include <cstdint>

namespace kvlink {

// Milliseconds from a monotonic clock, wrapping at 2^32 like a tick count.
uint32_t tickMs();

// Forces the next read of the PC time to re-synchronise the time base.
void markTimeBaseForResync();

// The current PC time from the time base: calendar seconds since 1970 and
// the milliseconds within that second.
void readPcTime(int64_t &seconds, int32_t &milliseconds);

} // namespace kvlink

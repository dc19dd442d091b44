// The CPU time this process has spent, user and system, for the benchmarks
// that measure a share of a core.
#pragma once

#include <sys/resource.h>

namespace korvel::bench {

inline double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace korvel::bench

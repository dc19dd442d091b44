// How long the main loop rests before the next logging tick: not at all while
// the instruments deliver, and once a whole cycle over them read nothing,
// longer each time up to a bound, so that an idle logger does not spin a core
// while a scan still reaches its file well within a second.
#pragma once

#include <algorithm>
#include <chrono>

namespace korvel {

// Whether the last whole cycle over the logging instruments read no scan.
class IdleCycle {
public:
    // The scans of one read; lastOfCycle when the read completes a cycle.
    void count(int scans, bool lastOfCycle) {
        scans_ += scans;
        if (!lastOfCycle) return;
        idle_ = scans_ == 0;
        scans_ = 0;
    }
    bool idle() const { return idle_; }

private:
    long scans_ = 0;
    bool idle_ = false;
};

class TickRest {
public:
    static constexpr std::chrono::milliseconds kLongest{20};

    // mayRest: the last whole cycle over the logging instruments read nothing
    // (LoggingTick::mayRest, IdleCycle::idle).
    std::chrono::milliseconds after(bool mayRest) {
        if (!mayRest) {
            rest_ = std::chrono::milliseconds(0);
        } else {
            rest_ = std::min(kLongest, std::max(std::chrono::milliseconds(1), rest_ * 2));
        }
        return rest_;
    }

private:
    std::chrono::milliseconds rest_{0};
};

} // namespace korvel

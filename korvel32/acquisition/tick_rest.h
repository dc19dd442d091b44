// How long the main loop rests before the next logging tick: not at all while
// the instruments deliver, and once a whole cycle over them read nothing,
// longer each time up to a bound, so that an idle logger does not spin a core
// while a scan still reaches its file well within a second.
#pragma once

#include <algorithm>
#include <chrono>

namespace korvel {

class TickRest {
public:
    static constexpr std::chrono::milliseconds kLongest{20};

    // mayRest: the last whole cycle over the logging instruments read nothing
    // (LoggingTick::mayRest).
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

#include "app/plot_sample_clock.h"

namespace korvel {

PlotSampleClock::Turn PlotSampleClock::turn(std::int64_t now) {
    if (now >= nextSample_) {
        nextSample_ = now;
        lastKeepAlive_ = now;
        return Turn::TakeSample;
    }
    if (now - lastKeepAlive_ < kKeepAliveSeconds && now >= lastKeepAlive_) return Turn::None;
    lastKeepAlive_ = now;
    return Turn::KeepAlive;
}

void PlotSampleClock::keepAlive(std::int64_t now) {
    if (!drawn_) nextSample_ = now;
}

} // namespace korvel

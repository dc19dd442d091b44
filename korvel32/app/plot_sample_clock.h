// When Quick Plot takes its samples. The logging tick asks on every pass:
// once the next sample time has come the plot takes a sample, otherwise it
// gets a keep-alive at most every 2 seconds (at once when the clock went back
// behind the last one). Until the plot has drawn a valid sample a keep-alive
// brings the next sample forward to now, so that a long interval does not
// keep a new plot empty.
#pragma once

#include <cstdint>

namespace korvel {

class PlotSampleClock {
public:
    enum class Turn { None, KeepAlive, TakeSample };

    // The tick's pass at calendar second now.
    Turn turn(std::int64_t now);

    // What the plot does with its turns and its settings.
    void keepAlive(std::int64_t now);
    void sampled(unsigned interval) { nextSample_ += interval; }
    void restarted(std::int64_t now, unsigned interval) { nextSample_ = now + interval; }
    // The system clock was set: the next sample is due at once.
    void timeChanged(std::int64_t now) { nextSample_ = now; }
    // A paint found a valid sample.
    void drawn() { drawn_ = true; }

    std::int64_t nextSampleTime() const { return nextSample_; }

private:
    static constexpr std::int64_t kKeepAliveSeconds = 2;

    std::int64_t nextSample_ = 0;
    std::int64_t lastKeepAlive_ = 0;
    bool drawn_ = false;
};

} // namespace korvel

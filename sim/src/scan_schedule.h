// When the instrument scans: the interval trigger every interval1, and the
// alarm trigger, which checks the alarms every alarmCheckInterval and scans
// every interval2 while an alarm-trigger channel is in alarm. Everything is
// counted from the monotonic start instant, so a late caller gets every scan
// that fell due, each at its own instant, and none twice.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "instrument_clock.h"
#include "kvlink32.h"

namespace korvelsim {

inline constexpr std::uint32_t kIntervalTriggerOption = 1U << 6;
inline constexpr std::uint32_t kAlarmTriggerOption = 1U << 7;
inline constexpr std::uint32_t kExternalTriggerOption = 1U << 8;

// An interval of four fields; zero means the fastest the model scans.
std::chrono::milliseconds intervalOf(const std::int32_t (&fields)[4], std::chrono::milliseconds fastest);

class ScanSchedule {
public:
    using Instant = SteadyClock::time_point;
    // True when an alarm-trigger channel is in alarm at this instant.
    using AlarmProbe = std::function<bool(Instant)>;

    void configure(const InstrumentConfig &config, std::chrono::milliseconds fastest);
    void start(Instant at);
    void stop() { running_ = false; }
    bool running() const { return running_; }
    std::chrono::milliseconds scanInterval() const { return interval1_; }

    // The instants of every scan due up to now, in order; alarm checks due
    // meanwhile are made through the probe.
    std::vector<Instant> due(Instant now, const AlarmProbe &inAlarm);
    // When something is next due; none while stopped or without a timed trigger.
    std::optional<Instant> nextEvent() const;

private:
    bool intervalTrigger_ = false;
    bool alarmTrigger_ = false;
    std::chrono::milliseconds interval1_{1000};
    std::chrono::milliseconds interval2_{1000};
    std::chrono::milliseconds alarmCheck_{1000};

    bool running_ = false;
    bool alarmActive_ = false;
    Instant nextIntervalScan_;
    Instant nextAlarmCheck_;
    Instant nextAlarmScan_;
};

} // namespace korvelsim

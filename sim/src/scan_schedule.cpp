#include "scan_schedule.h"

#include <algorithm>

namespace korvelsim {

std::chrono::milliseconds intervalOf(const std::int32_t (&fields)[4], std::chrono::milliseconds fastest) {
    const std::chrono::milliseconds length = std::chrono::hours(fields[0]) + std::chrono::minutes(fields[1]) +
                                             std::chrono::seconds(fields[2]) + std::chrono::milliseconds(fields[3]);
    return length > std::chrono::milliseconds(0) ? length : fastest;
}

void ScanSchedule::configure(const InstrumentConfig &config, std::chrono::milliseconds fastest) {
    intervalTrigger_ = (config.options & kIntervalTriggerOption) != 0;
    alarmTrigger_ = (config.options & kAlarmTriggerOption) != 0;
    interval1_ = intervalOf(config.interval1, fastest);
    interval2_ = intervalOf(config.interval2, fastest);
    alarmCheck_ = intervalOf(config.alarmCheckInterval, fastest);
}

void ScanSchedule::start(Instant at) {
    running_ = true;
    alarmActive_ = false;
    nextIntervalScan_ = at;
    nextAlarmCheck_ = at;
}

std::optional<ScanSchedule::Instant> ScanSchedule::nextEvent() const {
    if (!running_) {
        return std::nullopt;
    }
    std::optional<Instant> next;
    const auto consider = [&next](bool active, Instant at) {
        if (active) {
            next = next ? std::min(*next, at) : at;
        }
    };
    consider(intervalTrigger_, nextIntervalScan_);
    consider(alarmTrigger_, nextAlarmCheck_);
    consider(alarmTrigger_ && alarmActive_, nextAlarmScan_);
    return next;
}

std::vector<ScanSchedule::Instant> ScanSchedule::due(Instant now, const AlarmProbe &inAlarm) {
    std::vector<Instant> scans;
    const auto scanAt = [&scans](Instant at) {
        if (scans.empty() || scans.back() != at) { // two triggers at one instant make one scan
            scans.push_back(at);
        }
    };
    for (auto next = nextEvent(); next && *next <= now; next = nextEvent()) {
        // At one instant the alarm check comes first, so that an alarm found
        // now is scanned now.
        if (alarmTrigger_ && nextAlarmCheck_ == *next) {
            const bool active = inAlarm(*next);
            if (active && !alarmActive_) {
                nextAlarmScan_ = *next;
            }
            alarmActive_ = active;
            nextAlarmCheck_ += alarmCheck_;
        } else if (alarmTrigger_ && alarmActive_ && nextAlarmScan_ == *next) {
            scanAt(*next);
            nextAlarmScan_ += interval2_;
        } else {
            scanAt(*next);
            nextIntervalScan_ += interval1_;
        }
    }
    return scans;
}

} // namespace korvelsim

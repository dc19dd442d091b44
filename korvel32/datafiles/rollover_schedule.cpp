#include "datafiles/rollover_schedule.h"

#include "platform/clock.h"

namespace korvel {

bool RolloverCheckGate::pass(std::int64_t now) {
    if (now - lastCheck_ <= kRolloverCheckPeriod) return false;
    lastCheck_ = now;
    return true;
}

void RolloverSchedule::start(FileMode mode, std::int64_t now) {
    armed_ = mode == FileMode::Overwrite;
    lastIntervalRollover_ = now;
}

bool RolloverSchedule::edge(bool condition) {
    const bool fire = condition && !armed_;
    armed_ = condition;
    return fire;
}

bool RolloverSchedule::due(const DataFileSetup &setup, std::int64_t now, std::uint64_t fileSize) {
    return gate_.pass(now) && dueNow(setup, now, fileSize);
}

bool RolloverSchedule::dueNow(const DataFileSetup &setup, std::int64_t now, std::uint64_t fileSize) {
    switch (setup.rolloverMode) {
        case RolloverMode::FileSize: return edge(fileSize >= std::uint64_t{setup.rolloverValue} * 1000);
        case RolloverMode::TimeInterval:
            if (now - lastIntervalRollover_ < static_cast<std::int64_t>(setup.rolloverValue)) return false;
            lastIntervalRollover_ = now;
            return true;
        case RolloverMode::HourOfDay:
            return edge(static_cast<std::uint32_t>(localTimeOf(now).tm_hour) == setup.rolloverValue);
        case RolloverMode::None: break;
    }
    return false;
}

} // namespace korvel

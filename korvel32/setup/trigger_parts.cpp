#include "setup/trigger_parts.h"

namespace korvel {

TriggerParts triggerParts(TriggerType type) {
    switch (type) {
        case TriggerType::Interval: return {true, false, false};
        case TriggerType::External: return {false, true, false};
        case TriggerType::Alarm: return {false, false, true};
        case TriggerType::IntervalExternal: return {true, true, false};
        case TriggerType::IntervalAlarm: return {true, false, true};
        case TriggerType::ExternalAlarm: return {false, true, true};
        case TriggerType::IntervalExternalAlarm: return {true, true, true};
    }
    return {};
}

std::optional<TriggerType> triggerTypeOf(TriggerParts parts) {
    if (parts.interval) {
        if (parts.external) return parts.alarm ? TriggerType::IntervalExternalAlarm : TriggerType::IntervalExternal;
        return parts.alarm ? TriggerType::IntervalAlarm : TriggerType::Interval;
    }
    if (parts.external) return parts.alarm ? TriggerType::ExternalAlarm : TriggerType::External;
    if (parts.alarm) return TriggerType::Alarm;
    return std::nullopt;
}

} // namespace korvel

// A trigger type as the three triggers it combines: interval, external and
// alarm. The Instrument Configuration dialog shows one box for each.
#pragma once

#include "setup/setup_codes.h"

#include <optional>

namespace korvel {

struct TriggerParts {
    bool interval = false;
    bool external = false;
    bool alarm = false;
};

TriggerParts triggerParts(TriggerType type);

// The type that combines the parts; none when no part is chosen.
std::optional<TriggerType> triggerTypeOf(TriggerParts parts);

} // namespace korvel

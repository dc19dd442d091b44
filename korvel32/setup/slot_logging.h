// Whether the instrument of a slot is logging. The logging runs belong to the
// logging layer, so the setup layer asks through this.
#pragma once

#include <functional>

namespace korvel {

using SlotLogging = std::function<bool(int slot)>;

} // namespace korvel

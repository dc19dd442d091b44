// Bounded waiting on a condition instead of fixed sleeps.
#pragma once

#include <functional>

namespace kvtest {

// Polls every few milliseconds; true as soon as condition holds, false after timeoutMs.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);

} // namespace kvtest

// Bounded waiting on a condition instead of fixed sleeps.
#pragma once

#include <chrono>
#include <functional>

namespace kvtest {

// Polls every few milliseconds; true as soon as condition holds, false after timeoutMs.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);

// What is left until deadline, in whole milliseconds, 0 once it has passed.
int millisecondsLeft(std::chrono::steady_clock::time_point deadline);

} // namespace kvtest

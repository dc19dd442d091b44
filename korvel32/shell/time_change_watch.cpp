#include "time_change_watch.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace korvel {

TimeChangeWatch::TimeChangeWatch(QObject *parent) : QObject(parent) {
    timer_ = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer_ < 0 || !arm()) return;
    notifier_ = std::make_unique<QSocketNotifier>(timer_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TimeChangeWatch::fired);
}

TimeChangeWatch::~TimeChangeWatch() {
    notifier_.reset();
    if (timer_ >= 0) ::close(timer_);
}

// An expiry at the farthest time the clock can hold never comes; only a set
// clock wakes the timer.
bool TimeChangeWatch::arm() {
    itimerspec never{};
    never.it_value.tv_sec = INT32_MAX;
    return ::timerfd_settime(timer_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

void TimeChangeWatch::fired() {
    std::uint64_t expirations = 0;
    const bool cancelled = ::read(timer_, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
    arm();
    if (cancelled) emit timeChanged();
}

} // namespace korvel

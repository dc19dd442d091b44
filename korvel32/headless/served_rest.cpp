#include "served_rest.h"

#include <thread>

namespace korvel {

ServedRest::ServedRest(LiveValues &liveValues, InstrumentLink &link) : liveValues_(liveValues), link_(link) {
    link_.messagePumpSet(&ServedRest::serveWhileWaiting, this);
}

ServedRest::~ServedRest() { link_.messagePumpSet(nullptr, nullptr); }

void ServedRest::rest(std::chrono::milliseconds rest) {
    if (rest.count() <= 0) return serveIfDue();
    const Clock::time_point until = Clock::now() + rest;
    // Serving a client does not cut the rest short: the instruments are
    // asked no more often for it.
    for (Clock::time_point now = Clock::now(); now < until; now = Clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now);
        pollAndServe(static_cast<int>(left.count()));
    }
}

void ServedRest::serveWhileWaiting(void *context) { static_cast<ServedRest *>(context)->serveIfDue(); }

void ServedRest::serveIfDue() {
    if (Clock::now() - lastServed_ >= kServeInterval) pollAndServe(0);
}

void ServedRest::pollAndServe(int timeoutMs) {
    descriptors_.clear();
    liveValues_.appendDescriptors(descriptors_);
    lastServed_ = Clock::now();
    if (descriptors_.empty()) {
        if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return;
    }
    if (::poll(descriptors_.data(), descriptors_.size(), timeoutMs) > 0) liveValues_.serve(descriptors_);
}

} // namespace korvel

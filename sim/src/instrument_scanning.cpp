// The instrument's scanning: when scans fall due, what each one holds, and
// where it goes in the queue.
#include <algorithm>

#include "command_table.h"
#include "instrument.h"

namespace korvelsim {

namespace {

constexpr std::uint32_t kMemoryModeBits = 3U << 9;
constexpr std::uint32_t kDiscardNewestMode = 2U << 9;
constexpr std::uint32_t kKeepScanningWhenFull = 1U << 11;
constexpr std::chrono::milliseconds kFastestM200A{50};
constexpr std::chrono::milliseconds kFastestM100A{500};

} // namespace

void Instrument::advance(Instant now) {
    if (fastMode) {
        return; // fast scans are made when they are fetched
    }
    const auto inAlarm = [this](Instant at) { return evaluateAlarms(config, readingsAt(at)).triggerChannelInAlarm; };
    for (const Instant at : schedule_.due(now, inAlarm)) {
        makeScan(at);
    }
}

std::optional<Instrument::Instant> Instrument::nextEvent() const {
    return fastMode ? std::nullopt : schedule_.nextEvent();
}

Response Instrument::enableScanning(std::int32_t mode, const ClockReading &at, Instant now) {
    Instant start = now;
    if (mode == 1) {
        const auto instant = clock.instantOf(at.time, at.milliseconds);
        if (!instant) {
            return Response::error(kMalformedRequest);
        }
        if (*instant < now) {
            return Response::error(kStartTimePassed);
        }
        start = *instant;
    } else if (mode != 0) {
        return Response::error(kMalformedRequest);
    }
    enableMode = mode;
    enableAt = at;
    schedule_.configure(config, fastestScan());
    schedule_.start(start);
    signalStart_ = start;
    nextFastScan_ = start;
    return Response::ok();
}

void Instrument::stopScanning(Instant now) {
    schedule_.stop();
    busyUntil_ = now + busyTime;
}

Response Instrument::fetchScans(std::int32_t asked) {
    const std::size_t wanted = static_cast<std::size_t>(std::clamp(asked, 0, KVX_MAX_SCANS));
    if (fastMode && scanning()) {
        // As fast as the logger fetches: every scan asked for is made now,
        // stamped one scan interval after the one before, so the stamps run
        // ahead of the clock as far as the logger reads ahead.
        while (queue.size() < wanted) {
            makeScan(nextFastScan_);
            nextFastScan_ += schedule_.scanInterval();
        }
    }
    return scanBlock(queue.take(wanted));
}

ChannelReadings Instrument::readingsAt(Instant at) const {
    const double seconds = std::chrono::duration<double>(at - signalStart_).count();
    return readChannels(config, overrides, seed, seconds);
}

void Instrument::makeScan(Instant at) {
    if (!(config.options & kKeepScanningWhenFull) && queue.full()) {
        schedule_.stop(); // the configuration asks to stop scanning rather than lose scans
        return;
    }
    const ChannelReadings readings = readingsAt(at);
    const AlarmState alarms = evaluateAlarms(config, readings);
    dio = linesWithAlarms(static_cast<std::uint8_t>(dio), alarms);
    ++totalizer; // the simulated totalizer input pulses once per scan
    Scan scan;
    scan.stamp = clock.readingAt(at);
    scan.alarm1 = alarms.alarm1;
    scan.alarm2 = alarms.alarm2;
    scan.readings = recordedReadings(config, readings);
    queueScan(std::move(scan));
}

void Instrument::queueScan(Scan scan) {
    scan.first = ++scansMade_;
    scan.dio = static_cast<std::uint8_t>(dio);
    scan.totalizer = totalizer;
    const bool discardNewest = (config.options & kMemoryModeBits) == kDiscardNewestMode;
    const FullQueue whenFull = discardNewest ? FullQueue::DiscardNewest : FullQueue::OverwriteOldest;
    if (!queue.push(std::move(scan), whenFull)) {
        overflow_ = true;
    }
}

void Instrument::pushScans(int count, Instant now) {
    const std::size_t readings = static_cast<std::size_t>(queue.recordSize() - kScanHeaderSize) / 4;
    for (int i = 0; i < count; ++i) {
        Scan scan;
        scan.stamp = clock.readingAt(now);
        for (std::size_t channel = 1; channel <= readings; ++channel) {
            scan.readings.push_back(static_cast<float>(scansMade_ + 1) + static_cast<float>(channel) / 100.0f);
        }
        queueScan(std::move(scan));
    }
}

std::chrono::milliseconds Instrument::fastestScan() const {
    return modelText.rfind("M200", 0) == 0 ? kFastestM200A : kFastestM100A;
}

} // namespace korvelsim

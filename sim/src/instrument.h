// One simulated instrument: its state, its scanning on its own clock and its
// answer to each command. It knows nothing of sockets; every call takes the
// monotonic instant it happens at, so scanning can be driven (and tested)
// without the transport.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "alarms.h"
#include "byte_order.h"
#include "channel_readings.h"
#include "instrument_clock.h"
#include "kvlink32.h"
#include "scan_queue.h"
#include "scan_schedule.h"

namespace korvelsim {

struct Response {
    bool isError = false;
    std::int32_t code = 0; // of an error reply
    Bytes payload;

    static Response ok(Bytes payload = {}) { return {false, 0, std::move(payload)}; }
    static Response error(std::int32_t code) { return {true, code, {}}; }
};

inline constexpr std::uint32_t kOverflowStatus = 1U << 0;
inline constexpr std::uint32_t kBusyStatus = 0x01000000U;
inline constexpr std::chrono::milliseconds kDefaultBusyTime{50};

class Instrument {
public:
    using Instant = SteadyClock::time_point;

    Instrument(int bcn, std::string modelText);

    // Makes every scan due by now first. The request payload has already been
    // checked to be the command's size.
    Response handle(std::int32_t code, const std::uint8_t *payload, Instant now);
    // Makes every scan due by now.
    void advance(Instant now);
    // When the next scan or alarm check falls due; none when nothing is timed.
    std::optional<Instant> nextEvent() const;

    // Queues count scans stamped with the instrument clock; reading of channel
    // c in the k-th scan made is k + c / 100.
    void pushScans(int count, Instant now);
    // The reading a spy request answers with, if one is known.
    std::optional<float> spyReading(int channel, Instant now) const;
    // The whole status word as command 2 shows it now.
    std::uint32_t statusAt(Instant now) const;
    bool scanning() const { return schedule_.running(); }
    bool busyAt(Instant now) const { return now < busyUntil_; }

    // Set from the control channel.
    std::string modelText;
    std::int32_t reportedBcn;
    // The logger reads the version number from the third character on.
    std::optional<std::string> compatibility = std::string("V 1.0"); // none: older software
    std::uint32_t statusWord = 0;
    std::uint32_t selftestWord = 0;
    std::int32_t internalError = 0;
    std::int32_t dio = 0;
    std::uint32_t totalizer = 0;
    bool attention = false;
    std::map<int, float> spyValues;
    ChannelOverrides overrides;
    std::uint32_t seed;
    bool fastMode = false;
    std::chrono::milliseconds busyTime = kDefaultBusyTime;
    bool busyReplies = false; // answer -3 while busy
    ScanQueue queue;

    // Remembered from requests.
    std::int32_t triggerValue = 0;
    std::int32_t enableMode = 0;
    ClockReading enableAt;
    std::int32_t monitorChannel = 0;
    bool spyEnabled = false;
    std::int32_t passThruType = 0;
    std::int32_t dioSetFirst = 0;
    std::int32_t dioSetSecond = 0;
    std::int32_t clearValue = 0;
    int selftestsBegun = 0;
    int resets = 0;
    Bytes passThruData;
    InstrumentConfig config{};
    InstrumentClock clock;

private:
    Response answer(std::int32_t code, const std::uint8_t *payload, Instant now);
    Response scanBlock(std::vector<Scan> scans) const;
    Response enableScanning(std::int32_t mode, const ClockReading &at, Instant now);
    Response fetchScans(std::int32_t asked);
    Response setConfig(const std::uint8_t *payload, bool withEquations, Instant now);
    void stopScanning(Instant now);
    void makeScan(Instant at);
    void queueScan(Scan scan);
    ChannelReadings readingsAt(Instant at) const;
    std::chrono::milliseconds fastestScan() const;
    void setDio(std::int32_t first, std::int32_t second);
    Response passThruSend(const std::uint8_t *payload);
    Response passThruReceive(std::int32_t most);

    ScanSchedule schedule_;
    Instant signalStart_ = SteadyClock::now(); // the signals count their time from here
    Instant nextFastScan_;
    Instant busyUntil_;
    bool configured_ = false;
    bool overflow_ = false; // reported by the status word until it is read
    std::int32_t scansMade_ = 0;
};

} // namespace korvelsim

// One simulated instrument: its state and its answer to each command. It
// knows nothing of sockets, so scanning on its own clock can be added here
// without touching the transport.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "byte_order.h"
#include "instrument_clock.h"
#include "kvlink32.h"
#include "scan_queue.h"

namespace korvelsim {

struct Response {
    bool isError = false;
    std::int32_t code = 0;  // of an error reply
    Bytes payload;

    static Response ok(Bytes payload = {}) { return {false, 0, std::move(payload)}; }
    static Response error(std::int32_t code) { return {true, code, {}}; }
};

class Instrument {
public:
    Instrument(int bcn, std::string modelText);

    // The request payload has already been checked to be the command's size.
    Response handle(std::int32_t command, const std::uint8_t* payload);

    // Queues count scans stamped with the instrument clock; reading of channel
    // c in the k-th scan made is k + c / 100.
    void pushScans(int count);
    // The reading a spy request answers with, if one is known.
    std::optional<float> spyReading(int channel) const;

    // Set from the control channel.
    std::string modelText;
    std::int32_t reportedBcn;
    // The logger reads the version number from the third character on.
    std::optional<std::string> compatibility = std::string("V 1.0");  // none: older software
    std::uint32_t statusWord = 0;
    std::uint32_t selftestWord = 0;
    std::int32_t internalError = 0;
    std::int32_t dio = 0;
    std::uint32_t totalizer = 0;
    bool attention = false;
    std::map<int, float> spyValues;
    ScanQueue queue;

    // Remembered from requests.
    std::int32_t triggerValue = 0;
    bool scanning = false;
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
    Response scanBlock(std::vector<Scan> scans) const;
    Response setConfig(const std::uint8_t* payload, bool withEquations);
    void setDio(std::int32_t first, std::int32_t second);
    Response passThruSend(const std::uint8_t* payload);
    Response passThruReceive(std::int32_t most);

    std::int32_t scansMade_ = 0;
};

}  // namespace korvelsim

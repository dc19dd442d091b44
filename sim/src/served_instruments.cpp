#include "served_instruments.h"

#include <set>
#include <stdexcept>

#include "ccf_entries.h"
#include "listen_socket.h"

namespace korvelsim {

namespace {

constexpr int kIsolatedMode = 2;
constexpr int kGeneralMode = 4;

std::string isolatedNetwork(const Options &options, const char *environmentPrefix) {
    const std::string prefix = options.isolatedPrefix.value_or(environmentPrefix ? environmentPrefix : "");
    if (prefix.empty()) {
        throw std::invalid_argument("isolated mode needs --isolated-prefix or KVLINK32_ISOLATED_PREFIX");
    }
    if (!isLoopbackAddress(prefix + ".1")) {
        throw std::invalid_argument("isolated prefix is not a loopback network (127.x.y): " + prefix);
    }
    return prefix;
}

// Instruments of one run differ by their BCN, runs by the seed.
constexpr std::uint32_t kSeedStride = 100;

void applyInstrumentOptions(const Options &options, Instrument &device) {
    if (options.queueCapacity) {
        device.queue.setCapacity(static_cast<std::size_t>(*options.queueCapacity));
    }
    if (options.busyTimeMs) {
        device.busyTime = std::chrono::milliseconds(*options.busyTimeMs);
    }
    device.seed += options.seed.value_or(0) * kSeedStride;
    device.fastMode = options.fast;
}

} // namespace

ServedInstruments resolveInstruments(const Options &options, const char *environmentPrefix) {
    std::vector<InstrumentEntry> entries;
    bool isolated = false;
    std::optional<int> port = options.port;
    if (options.ccfPath) {
        const CcfContents ccf = readCcfFile(*options.ccfPath);
        if (ccf.netMode != kIsolatedMode && ccf.netMode != kGeneralMode) {
            throw std::invalid_argument("ccf.cfg: network mode " + std::to_string(ccf.netMode));
        }
        isolated = ccf.netMode == kIsolatedMode;
        if (!isolated && !port) {
            port = ccf.port;
        }
        entries = ccf.instruments;
    }
    isolated = options.isolated.value_or(isolated);
    entries.insert(entries.end(), options.instruments.begin(), options.instruments.end());
    if (entries.empty() && !options.serial) {
        throw std::invalid_argument("no instrument to serve (use --instrument, --ccf or --serial)");
    }

    const std::string prefix = isolated ? isolatedNetwork(options, environmentPrefix) : "";
    ServedInstruments served;
    served.port = isolated ? kIsolatedPort : port.value_or(0);
    std::set<int> bcns;
    std::set<std::string> addresses;
    for (const InstrumentEntry &entry : entries) {
        const std::string address = isolated ? prefix + "." + std::to_string(entry.bcn) : entry.address;
        if (entry.bcn < 1 || entry.bcn > 99 || !bcns.insert(entry.bcn).second) {
            throw std::invalid_argument("BCN " + std::to_string(entry.bcn) + " out of range or given twice");
        }
        if (!isLoopbackAddress(address)) {
            throw std::invalid_argument("refusing non-loopback address " + address +
                                        ": the simulator binds only 127.0.0.0/8");
        }
        if (!addresses.insert(address).second) {
            throw std::invalid_argument("two instruments on " + address + ": give each its own address");
        }
        served.instruments.emplace_back(entry.bcn, address, entry.model);
        applyInstrumentOptions(options, served.instruments.back().device);
    }
    return served;
}

} // namespace korvelsim

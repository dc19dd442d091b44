// Small helpers shared by the simulator's own tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "raw_connection.h"
#include "sim_process.h"

namespace simtest {

using kvtest::Bytes;

inline Bytes ints(std::initializer_list<std::int32_t> values) {
    Bytes out;
    for (std::int32_t value : values) {
        kvtest::appendBigEndian(out, static_cast<std::uint32_t>(value));
    }
    return out;
}

// The complete reply a test expects: magic, sequence, command, length, payload.
inline Bytes reply(std::uint32_t sequence, std::int32_t command, const Bytes &payload = {}) {
    return kvtest::frameRequest(sequence, command, payload);
}

inline Bytes errorReply(std::uint32_t sequence, std::int32_t code) { return reply(sequence, -1, ints({code})); }

// One general-mode instrument on this process's own loopback address.
struct OneInstrument {
    static constexpr int kBcn = 3;
    explicit OneInstrument(std::vector<std::string> extra = {})
            : address(kvtest::uniqueLoopbackAddress(kBcn)), sim(arguments(address, std::move(extra))) {}

    std::unique_ptr<kvtest::RawConnection> connectMain() {
        return std::make_unique<kvtest::RawConnection>(address, sim.basePort());
    }
    std::unique_ptr<kvtest::RawConnection> connectPassThru() {
        return std::make_unique<kvtest::RawConnection>(address, sim.basePort() + 2);
    }

    std::string address;
    kvtest::SimProcess sim;

private:
    static std::vector<std::string> arguments(const std::string &address, std::vector<std::string> extra) {
        std::vector<std::string> args{"--instrument", std::to_string(kBcn) + ":M100A:" + address};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
};

} // namespace simtest

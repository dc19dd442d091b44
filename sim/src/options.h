// The simulator's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvelsim {

struct InstrumentEntry {
    int bcn = 0;
    std::string model = "M100A";
    std::string address = "127.0.0.1";
    bool addressGiven = false;
};

struct Options {
    std::optional<bool> isolated; // --general / --isolated
    std::optional<int> port;
    std::optional<std::string> isolatedPrefix;
    std::optional<std::string> ccfPath;
    std::vector<InstrumentEntry> instruments;
    std::vector<std::string> faults; // control lines run before "ready"
    // Given to every instrument; each can be changed later on the control channel.
    std::optional<int> queueCapacity;
    std::optional<int> busyTimeMs;
    std::optional<std::uint32_t> seed;
    bool fast = false;
    bool serial = false; // a calibration port on a pseudo-terminal
    bool help = false;
};

// Throws std::invalid_argument with a message for the user.
Options parseOptions(const std::vector<std::string> &arguments);

InstrumentEntry parseInstrumentEntry(const std::string &text);

const char *usageText();

} // namespace korvelsim

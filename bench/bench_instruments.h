// The simulated instruments of the logging benchmarks: 20 instruments of 30
// channels each in one korvel-sim process, the communications configuration
// that points the library at them and a setup file that logs all of them.
#pragma once

#include <logger_directories.h>
#include <sim_process.h>
#include <temp_dir.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel::bench {

inline constexpr int kInstruments = 20;
inline constexpr int kChannels = 30;

// How the simulated instruments make their scans.
struct ScanPace {
    bool fast = false;            // a scan fetch first makes the scans it asks for
    double intervalSeconds = 1.0; // the interval trigger
    bool toolbox = false;         // the toolbox add-on is loaded
};

// Ends the benchmark with this message.
[[noreturn]] void fail(const std::string &what);

class BenchInstruments {
public:
    // Starts the simulator and points the library and the logger's home and
    // sockets at this run's directories, so that a logger the user runs
    // meanwhile is not in the way; extraSetup is appended to the setup file.
    explicit BenchInstruments(ScanPace pace, const std::string &extraSetup = {});

    const std::string &home() const { return home_.path(); }
    const std::string &setupFile() const { return setupFile_; }
    // Scans the simulator has handed over since it started, all instruments.
    long fetchedScans();
    std::vector<std::uint16_t> bcns() const;

private:
    kvtest::TempDir home_;
    kvtest::TempDir ccfDir_;
    kvtest::LoggerDirectories directories_{ccfDir_.path(), home_.path()};
    std::unique_ptr<kvtest::SimProcess> sim_;
    std::string setupFile_;
};

} // namespace korvel::bench

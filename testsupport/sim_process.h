// Runs korvel-sim as a child process and talks to its control channel.
// Including this header also brings the other test helpers of kvtest.
#pragma once

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "ccf_file_writer.h"
#include "loopback_addresses.h"
#include "temp_dir.h"
#include "wait_for.h"

namespace kvtest {

// The simulator's account of one instrument's scans:
// produced = fetched + lost + cleared + queued.
struct ScanCounters {
    long produced = 0;
    long fetched = 0;
    long lost = 0;
    long cleared = 0;
    long queued = 0;
};

class SimProcess {
public:
    // Starts the simulator with these arguments and waits (bounded) for its
    // "ready" line; throws std::runtime_error carrying its stderr on failure.
    explicit SimProcess(const std::vector<std::string> &args);
    // Quits the simulator, and kills it if it does not end in time.
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // The base port P from the ready line (4369 in isolated mode).
    int basePort() const { return basePort_; }
    // The calibration port's pseudo-terminal (started with --serial); else empty.
    const std::string &serialPath() const { return serialPath_; }

    // Sends one control line and returns its reply line ("ok ..." or "error ...");
    // throws std::runtime_error if no reply comes in time.
    std::string control(const std::string &line);

    // Hex of every request the instrument received (header included), in order.
    std::vector<std::string> requests(int bcn);
    // The command code of every request the instrument received, in order.
    std::vector<int> requestCommands(int bcn);
    // The instrument's scan counters; throws std::runtime_error on a reply without them.
    ScanCounters counters(int bcn);

    // What came over the calibration port: command lines without CR LF, "<03>"
    // for a prompt byte.
    std::vector<std::string> serialReceived();
    // One value of "serial state", e.g. "resets" or "line".
    std::string serialState(const std::string &key);

private:
    std::vector<std::pair<int, std::string>> requestLog(int bcn);
    std::string readLine(int timeoutMs);
    std::string collectStderr();

    pid_t pid_ = -1;
    int controlSocket_ = -1; // the child's stdin; a socket so a dead child raises no SIGPIPE
    int output_ = -1;
    int errors_ = -1;
    std::string pending_;
    int basePort_ = 0;
    std::string serialPath_;
};

} // namespace kvtest

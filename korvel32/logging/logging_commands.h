// Start Instrument, Start All Instruments, Stop Instrument and Stop All
// Instruments: which instruments each command reaches, in which order and
// with which start delay, by group role. The same commands serve the menu and
// the toolbox's remote commands; a remote command also learns why a command
// was refused.
#pragma once

#include "link/instrument_link.h"
#include "logging/logging_engine.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <cstdint>
#include <vector>

namespace korvel {

// Toolbox reply codes of refused logging commands.
namespace toolbox_reply {
inline constexpr std::int16_t kNoSuchInstrument = -6003;
inline constexpr std::int16_t kSlave = -6004;
inline constexpr std::int16_t kAlreadyLogging = -6005;
inline constexpr std::int16_t kNotLogging = -6006;
} // namespace toolbox_reply

// What a command did, for the remote form: a reply code (0 when the command
// was not refused) and, when an instrument's data file could not be opened,
// that instrument's BCN.
struct CommandResult {
    std::int16_t reply = 0;
    std::uint16_t failedBcn = 0;
};

// The logging runs as the commands see them. EngineRuns serves them from the
// logging engine.
class LoggingRuns {
public:
    virtual ~LoggingRuns() = default;
    virtual bool logging(int slot) const = 0;
    virtual bool stopping(int slot) const = 0;
    virtual bool start(std::uint32_t slotMask, int startDelay) = 0;
    virtual int stop(std::uint32_t slotMask, CommandSource source) = 0;
    virtual int stopGroup(CommandSource source) = 0;
};

class EngineRuns : public LoggingRuns {
public:
    explicit EngineRuns(LoggingEngine &engine) : engine_(engine) {}
    bool logging(int slot) const override { return engine_.run(slot).logging; }
    bool stopping(int slot) const override { return engine_.run(slot).draining; }
    bool start(std::uint32_t slotMask, int startDelay) override { return engine_.startLogging(slotMask, startDelay); }
    int stop(std::uint32_t slotMask, CommandSource source) override { return engine_.stopLogging(slotMask, source); }
    int stopGroup(CommandSource source) override { return engine_.stopGroup(source); }

private:
    LoggingEngine &engine_;
};

// Whether any instrument in use logs.
bool anyLogging(const InstrumentTable &table, const LoggingRuns &runs);

// The start delay Start All gives a large group: the longest any scheduled
// start waits, in seconds.
inline constexpr int kLargeGroupDelay = 6;

// The data files and the window the commands reach around the runs.
class LoggingCommandHost {
public:
    virtual ~LoggingCommandHost() = default;
    // Opens the data file of an Async or Master slot for its start; shows why
    // it cannot and returns false then.
    virtual bool openDataFile(int slot) = 0;
    virtual void closeDataFile(int slot) = 0;
    // Shows the logging status window when it is hidden.
    virtual void showLoggingStatus() = 0;
};

class LoggingCommands {
public:
    LoggingCommands(const InstrumentTable &table, const LoggerOptions &options, InstrumentLink &link, LoggingRuns &runs,
                    LoggingCommandHost &host);

    // slot: the selected instrument, or the one a remote command names; 0
    // for none.
    CommandResult startInstrument(int slot);
    CommandResult startAll();
    CommandResult stopInstrument(int slot, CommandSource source);
    CommandResult stopAll(CommandSource source);

private:
    bool startGroup();
    bool openDataFiles(const std::vector<int> &slots, std::vector<int> &opened, CommandResult &result);
    void finishStart(bool started, const std::vector<int> &opened);
    bool logsAndIsNotStopping(int slot) const;
    std::uint32_t slotsToStop() const;

    const InstrumentTable &table_;
    const LoggerOptions &options_;
    InstrumentLink &link_;
    LoggingRuns &runs_;
    LoggingCommandHost &host_;
};

} // namespace korvel

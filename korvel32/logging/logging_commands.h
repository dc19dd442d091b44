// Start Instrument, Start All Instruments, Stop Instrument and Stop All
// Instruments: which instruments each command reaches, in which order and
// with which start delay, by group role. The same commands serve the menu and
// the toolbox's remote commands; a remote command also learns why a command
// was refused.
#pragma once

#include "link/instrument_link.h"
#include "logging/front_end.h"
#include "logging/logging_engine.h"
#include "platform/clock.h"
#include "platform/toolbox_reply.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <cstdint>
#include <vector>

namespace korvel {

class SlotDataFiles;

// What a command did, for the remote form: why it was refused, if it was,
// and, when an instrument's data file could not be opened, that instrument's
// BCN.
struct CommandResult {
    ToolboxReply reply = ToolboxReply::Done;
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
    virtual ToolboxReply stop(std::uint32_t slotMask, CommandSource source) = 0;
    virtual ToolboxReply stopGroup(CommandSource source) = 0;
};

class EngineRuns : public LoggingRuns {
public:
    explicit EngineRuns(LoggingEngine &engine) : engine_(engine) {}
    bool logging(int slot) const override { return engine_.run(slot).logging; }
    bool stopping(int slot) const override { return engine_.run(slot).draining; }
    bool start(std::uint32_t slotMask, int startDelay) override { return engine_.startLogging(slotMask, startDelay); }
    ToolboxReply stop(std::uint32_t slotMask, CommandSource source) override {
        return engine_.stopLogging(slotMask, source);
    }
    ToolboxReply stopGroup(CommandSource source) override { return engine_.stopGroup(source); }

private:
    LoggingEngine &engine_;
};

// Whether any instrument in use logs.
bool anyLogging(const InstrumentTable &table, const LoggingRuns &runs);

// The start delay Start All gives a large group: the longest any scheduled
// start waits, in seconds.
inline constexpr int kLargeGroupDelay = 6;

class LoggingCommands {
public:
    // The commands open the data files of the instruments they start and
    // close those of the instruments that did not start.
    LoggingCommands(const InstrumentTable &table, const LoggerOptions &options, InstrumentLink &link, LoggingRuns &runs,
                    SlotDataFiles &files, const FrontEnd &frontEnd, Clock &clock);

    // slot: the selected instrument, or the one a remote command names; 0
    // for none.
    CommandResult startInstrument(int slot);
    CommandResult startAll();
    CommandResult stopInstrument(int slot, CommandSource source);
    CommandResult stopAll(CommandSource source);

private:
    bool startGroup();
    bool openDataFile(int slot);
    bool openDataFiles(const std::vector<int> &slots, std::vector<int> &opened, CommandResult &result);
    void finishStart(bool started, const std::vector<int> &opened);
    bool logsAndIsNotStopping(int slot) const;
    std::uint32_t slotsToStop() const;

    const InstrumentTable &table_;
    const LoggerOptions &options_;
    InstrumentLink &link_;
    LoggingRuns &runs_;
    SlotDataFiles &files_;
    FrontEnd frontEnd_;
    Clock &clock_;
};

} // namespace korvel

// The logging runs of the 20 instrument slots: starting them, stopping them
// and ending them. Beside the instrument table it keeps one LoggingRun and
// one ScanBuffer per slot, and the busy mark that keeps the logging tick out
// while a start or stop waits on an instrument.
#pragma once

#include "link/instrument_link.h"
#include "logging/front_end.h"
#include "logging/logging_run.h"
#include "platform/clock.h"
#include "platform/toolbox_reply.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvel {

class SlotDataFiles;

// Bit i selects slot i (1..20).
constexpr std::uint32_t slotBit(int slot) { return std::uint32_t{1} << slot; }

// The slots whose instruments are the Slaves of the group.
std::uint32_t slaveSlotMask(const InstrumentTable &table);

enum class CommandSource { User, Remote };

class LoggingEngine {
public:
    LoggingEngine(InstrumentTable &table, const LoggerOptions &options, InstrumentLink &link, SlotDataFiles &files,
                  FrontEnd frontEnd, Clock &clock);

    // The AutoScanDisable setting of korvel32.ini.
    void setAutoScanDisable(bool on) { autoScanDisable_ = on; }

    LoggingRun &run(int slot) { return runs_.at(static_cast<std::size_t>(slot)); }
    const LoggingRun &run(int slot) const { return runs_.at(static_cast<std::size_t>(slot)); }
    ScanBuffer &scanBuffer(int slot) { return buffers_.at(static_cast<std::size_t>(slot)); }
    const ScanBuffer &scanBuffer(int slot) const { return buffers_.at(static_cast<std::size_t>(slot)); }

    // Set while a start, a stop or a logging tick is at work.
    bool busy() const { return busy_; }

    // Starts every instrument of the mask that is in use and not logging,
    // scanning together startDelay seconds from now (at once for 0). On
    // failure none of them logs and their communications are closed.
    bool startLogging(std::uint32_t slotMask, int startDelay);

    // Stops every instrument of the mask that logs and is not draining yet.
    // A remote command receives ToolboxReply::UnableToStop where the user
    // would see that scanning could not be stopped; otherwise Done.
    ToolboxReply stopLogging(std::uint32_t slotMask, CommandSource source = CommandSource::User);

    // Stops the Master and all its slaves, a wired Master first. The result
    // is that of stopLogging.
    ToolboxReply stopGroup(CommandSource source = CommandSource::User);

    // Ends the slot's run at once: communications closed, data file closed,
    // logging off.
    void endRun(int slot);

    // One read of the slot's queued scans (one simulated scan in simulate
    // mode) into its scan buffer, with the run's bookkeeping. False when the
    // instrument could not be read; the run goes on.
    bool readScans(int slot);

    // Asks the instrument for its internal error word, which keeps an idle
    // connection alive; the answer does not matter.
    void askInternalError(int slot);

private:
    friend class BusyMark;

    std::vector<int> slotsOf(std::uint32_t slotMask) const;
    const InstrumentSetup *masterSetup() const;
    bool pairsSlaveScans(int slot) const;
    std::int64_t stopTimeOf(int slot, std::int64_t startSecond) const;
    void showMessage(int slot, int message);

    bool startInstruments(const std::vector<int> &slots, int startDelay);
    bool configureAndStart(const std::vector<int> &slots, int startDelay);
    bool setClocks(const std::vector<int> &slots);
    bool waitUntilResponding(const std::vector<int> &slots);
    bool downloadConfigurations(const std::vector<int> &slots, const std::array<int, kInstrumentSlots + 1> &levels);
    bool clearTotalizers(const std::vector<int> &slots);
    bool enableScanning(const std::vector<int> &slots, int startDelay, std::int64_t &startSecond);
    void beginRun(int slot, std::int64_t startSecond);
    void selectMonitorChannels(const std::vector<int> &slots);

    void finishRun(int slot);

    void reportCommunicationInterruption(int slot, std::int32_t code);
    void checkAttention(int slot);
    void reportInstrumentStatus(int slot, std::uint32_t status);
    void countScans(int slot);

    InstrumentTable &table_;
    const LoggerOptions &options_;
    InstrumentLink &link_;
    SlotDataFiles &files_;
    FrontEnd frontEnd_;
    UserInterface &ui_;
    Clock &clock_;
    bool autoScanDisable_ = false;
    bool busy_ = false;
    std::array<LoggingRun, kInstrumentSlots + 1> runs_{};               // 0 unused
    std::array<ScanBuffer, kInstrumentSlots + 1> buffers_{};            // 0 unused
    std::array<std::int64_t, kInstrumentSlots + 1> simulationClocks_{}; // second of each slot's last simulated scan
};

// Holds the engine's busy mark for its lifetime.
class BusyMark {
public:
    explicit BusyMark(LoggingEngine &engine) : engine_(engine), previous_(engine.busy_) { engine_.busy_ = true; }
    ~BusyMark() { engine_.busy_ = previous_; }
    BusyMark(const BusyMark &) = delete;
    BusyMark &operator=(const BusyMark &) = delete;

private:
    LoggingEngine &engine_;
    bool previous_;
};

} // namespace korvel

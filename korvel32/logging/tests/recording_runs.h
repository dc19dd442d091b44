// Stand-ins around the logging commands: runs that record each start and
// stop with its slots and delay, and a front end that records the data files
// and the logging status window.
#pragma once

#include "logging/logging_commands.h"
#include "recording_front_end.h"
#include "scripted_user_interface.h"
#include "setup/setup_template.h"

#include <array>
#include <string>
#include <vector>

namespace korvel {

// "1,2" for the slots of a mask.
inline std::string slotList(std::uint32_t mask) {
    std::string list;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (!(mask & slotBit(slot))) continue;
        if (!list.empty()) list += ",";
        list += std::to_string(slot);
    }
    return list;
}

class RecordingRuns : public LoggingRuns {
public:
    std::vector<std::string> calls;
    std::uint32_t failingSlots = 0; // a start that includes one of them fails
    ToolboxReply stopReply = ToolboxReply::Done;
    std::uint32_t groupSlots = 0; // the Master and Slaves that a group stop reaches
    std::array<bool, kInstrumentSlots + 1> loggingSlots{};
    std::array<bool, kInstrumentSlots + 1> stoppingSlots{};

    bool logging(int slot) const override { return loggingSlots.at(static_cast<std::size_t>(slot)); }
    bool stopping(int slot) const override { return stoppingSlots.at(static_cast<std::size_t>(slot)); }
    bool start(std::uint32_t slotMask, int startDelay) override {
        calls.push_back("start " + slotList(slotMask) + " delay " + std::to_string(startDelay));
        if (slotMask & failingSlots) return false;
        forEach(slotMask, loggingSlots, true);
        return true;
    }
    ToolboxReply stop(std::uint32_t slotMask, CommandSource source) override {
        calls.push_back("stop " + slotList(slotMask) + (source == CommandSource::Remote ? " remote" : ""));
        forEach(slotMask, stoppingSlots, true);
        return stopReply;
    }
    ToolboxReply stopGroup(CommandSource source) override {
        calls.push_back(source == CommandSource::Remote ? "stop group remote" : "stop group");
        forEach(groupSlots, stoppingSlots, true);
        return stopReply;
    }

    void setLogging(std::initializer_list<int> slots) {
        for (const int slot : slots) loggingSlots.at(static_cast<std::size_t>(slot)) = true;
    }

private:
    static void forEach(std::uint32_t mask, std::array<bool, kInstrumentSlots + 1> &flags, bool value) {
        for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
            if (mask & slotBit(slot)) flags.at(static_cast<std::size_t>(slot)) = value;
        }
    }
};

// A table of instruments with recording runs and front end around the commands.
struct CommandBench : RecordingFrontEnd {
    CommandBench() {
        setupTemplate.complete("Label", "VDC");
        files.onDisk = false;
    }

    // Instruments with BCNs 1, 2, ... in slots 1, 2, ..., all Async.
    void addInstruments(int count) {
        for (int bcn = 1; bcn <= count; ++bcn)
            table.add(table.firstFreeSlot(), static_cast<unsigned>(bcn), ModelCode::M100A);
    }
    // Slot 1 becomes the Master and every other instrument its Slave.
    void makeGroup() {
        table.setRole(1, GroupRole::Master);
        for (int slot = 2; slot <= table.count(); ++slot) table.setRole(slot, GroupRole::Slave);
    }
    void logToDataFile(std::initializer_list<int> slots) {
        for (const int slot : slots) table.slot(slot).setup->dataFile.enabled = true;
    }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    RecordingRuns runs;
    ScriptedUserInterface ui;
    RecordingFiles files{table, log};
    ManualClock clock{CalendarTime{1'800'000'000, 0}};
    InstrumentLink link;
    LoggingCommands commands{table, options, link, runs, files, frontEndFor(ui), clock};
};

} // namespace korvel

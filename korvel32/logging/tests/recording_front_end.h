// A front end for tests: the windows, the toolbox, the live-values service
// and the data files record what the logging told them into one list, in
// order, so that a test reads the whole sequence.
#pragma once

#include "datafiles/slot_data_files.h"
#include "logging/front_end.h"
#include "logging/logging_engine.h"

#include <deque>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace korvel {

struct EventLog {
    std::vector<std::string> events;

    void record(const std::string &what, int slot, const std::string &extra = {}) {
        events.push_back(what + " " + std::to_string(slot) + extra);
    }
};

class RecordingWindows : public LoggingWindows {
public:
    explicit RecordingWindows(EventLog &log) : log_(log) {}

    int selected = 0;
    bool enabled = true;
    bool inputWaiting = false;
    int liveWindowUpdates = 0;
    int configurationChanges = 0;
    int setupsOpened = 0;

    void redrawIcon(int slot) override { log_.record("icon", slot); }
    void refreshSelectedInstrument(int slot) override { log_.record("selected", slot); }
    void resetStatusRow(int slot) override { log_.record("row", slot); }
    void showLoggingStatus() override { log_.events.push_back("status window"); }
    void raiseLoggingStatusOnAlarm() override { log_.events.push_back("raise"); }
    void configurationChanged() override { ++configurationChanges; }
    void setupOpened() override { ++setupsOpened; }
    void updateLiveWindows(CalendarTime) override { ++liveWindowUpdates; }
    int selectedSlot() const override { return selected; }
    bool mainWindowEnabled() const override { return enabled; }
    bool userInputWaiting() const override { return inputWaiting; }

private:
    EventLog &log_;
};

class RecordingToolbox : public ToolboxLink {
public:
    using Reply = std::pair<std::uint16_t, ToolboxReply>; // result BCN, reply code

    explicit RecordingToolbox(EventLog &log) : log_(log) {}

    std::deque<std::string> paths; // answers to the path requests, in order
    std::vector<ToolboxPath> pathRequests;
    std::vector<Reply> replies;
    std::vector<bool> remoteModes;
    std::deque<std::pair<std::uint32_t, std::uint32_t>> posted; // commands on the channel: code, argument

    void loggingChanged(int slot, bool on) override { log_.record("toolbox", slot, on ? " on" : " off"); }
    void queueScans(int slot, const ScanBuffer &buffer) override {
        log_.record("queue", slot, " " + std::to_string(buffer.header().count));
    }
    void reportError(int slot, int code) override { log_.record("error", slot, " " + std::to_string(code)); }
    std::string filePath(ToolboxPath kind) override {
        pathRequests.push_back(kind);
        if (paths.empty()) return {};
        std::string path = paths.front();
        paths.pop_front();
        return path;
    }
    void reply(std::uint16_t bcn, ToolboxReply code) override { replies.emplace_back(bcn, code); }
    bool takePostedCommand(std::uint32_t &code, std::uint32_t &argument) override {
        if (posted.empty()) return false;
        std::tie(code, argument) = posted.front();
        posted.pop_front();
        return true;
    }

private:
    void remoteModeChanged(bool on) override { remoteModes.push_back(on); }

    EventLog &log_;
};

class RecordingLiveValues : public LiveValues {
public:
    explicit RecordingLiveValues(EventLog &log) : log_(log) {}
    void advise(int slot) override { log_.record("live", slot); }

private:
    EventLog &log_;
};

// The windows, the toolbox and the live-values service, recording into one
// log; a fixture adds the user and its data files.
struct RecordingFrontEnd {
    FrontEnd frontEndFor(UserInterface &ui) { return {ui, windows, toolbox, liveValues}; }

    EventLog log;
    RecordingWindows windows{log};
    RecordingToolbox toolbox{log};
    RecordingLiveValues liveValues{log};
};

// Data files whose opens and closes are recorded; a test may make an open or
// a close fail, or keep the files off the disk altogether.
class RecordingFiles : public SlotDataFiles {
public:
    RecordingFiles(const InstrumentTable &table, EventLog &log, std::optional<TrendLinkServices> trendLink = {})
            : SlotDataFiles(table, RegionalFormats{}, trendLink), log_(log) {}

    std::uint32_t unopenableSlots = 0;
    bool closes = true;
    bool onDisk = true;

    DataFileOpen open(int slot, std::int64_t now) override {
        log_.record("open", slot);
        if (unopenableSlots & slotBit(slot)) return DataFileOpen::CannotCreate;
        return onDisk ? SlotDataFiles::open(slot, now) : DataFileOpen::Opened;
    }
    bool close(int slot) override {
        log_.record("close", slot);
        return SlotDataFiles::close(slot) && closes;
    }

private:
    EventLog &log_;
};

} // namespace korvel

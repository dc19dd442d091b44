// The engine's hosts and observers in the windowed logger. Each passes what
// the engine tells it on as a signal of ShellLogging, which the main window
// follows; the data files are served as in the headless logger.
#pragma once

#include "acquisition/remote_commands.h"
#include "acquisition/tick_observer.h"
#include "acquisition/data_file_command_host.h"
#include "acquisition/data_file_observer.h"

#include <functional>

namespace korvel {

class ShellLogging;

class ShellCommandHost : public DataFileCommandHost {
public:
    ShellCommandHost(const InstrumentTable &table, SlotDataFiles &files, UserInterface &ui, Clock &clock,
                     ShellLogging &owner)
        : DataFileCommandHost(table, files, ui, clock), owner_(owner) {}
    void showLoggingStatus() override;

private:
    ShellLogging &owner_;
};

class ShellLoggingObserver : public DataFileObserver {
public:
    ShellLoggingObserver(SlotDataFiles &files, const RemoteCommands &remote, ShellLogging &owner)
        : DataFileObserver(files, remote), owner_(owner) {}
    void redrawIcon(int slot) override;
    void refreshSelectedInstrument(int slot) override;

private:
    ShellLogging &owner_;
};

// Without the toolbox link there are no toolbox paths and replies go nowhere.
class ShellRemoteHost : public RemoteCommandHost {
public:
    ShellRemoteHost(std::function<bool()> mainWindowEnabled, ShellLogging &owner)
        : mainWindowEnabled_(std::move(mainWindowEnabled)), owner_(owner) {}
    // Qt offers no look into the event queue; queued input is handled before
    // the next tick's timer event anyway.
    bool userInputWaiting() const override { return false; }
    bool mainWindowEnabled() const override { return mainWindowEnabled_(); }
    std::string toolboxFilePath(ToolboxPath) override { return {}; }
    void toolboxRemoteMode(bool) override {}
    void toolboxReply(std::uint16_t, std::int32_t) override {}
    void configurationChanged() override;

private:
    std::function<bool()> mainWindowEnabled_;
    ShellLogging &owner_;
};

class ShellTickObserver : public TickObserver {
public:
    ShellTickObserver(RemoteCommands &remote, std::function<int()> selectedSlot, ShellLogging &owner)
        : remote_(remote), selectedSlot_(std::move(selectedSlot)), owner_(owner) {}
    void runPendingRemoteCommand() override { remote_.runPending(); }
    void updateLiveWindows(CalendarTime) override {}
    void adviseDdeClients(int) override {}
    int selectedSlot() const override { return selectedSlot_(); }
    void raiseLoggingStatusOnAlarm() override;

private:
    RemoteCommands &remote_;
    std::function<int()> selectedSlot_;
    ShellLogging &owner_;
};

} // namespace korvel

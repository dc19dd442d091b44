// The remote commands' and the logging tick's view of a front end without the
// toolbox link or a DDE server: no toolbox paths, replies that go nowhere, no
// DDE clients to advise; what the windows do is the front end's.
#pragma once

#include "logging/logging_front_end.h"
#include "logging/remote_commands.h"
#include "logging/tick_observer.h"

namespace korvel {

class FrontEndRemoteHost : public RemoteCommandHost {
public:
    explicit FrontEndRemoteHost(LoggingFrontEnd &frontEnd) : frontEnd_(frontEnd) {}

    // The headless logger takes no input, and Qt offers no look into its
    // event queue: queued input is handled before the next tick's timer
    // event anyway.
    bool userInputWaiting() const override { return false; }
    bool mainWindowEnabled() const override { return frontEnd_.mainWindowEnabled(); }
    std::string toolboxFilePath(ToolboxPath) override { return {}; }
    void toolboxRemoteMode(bool) override {}
    void toolboxReply(std::uint16_t, std::int32_t) override {}
    void configurationChanged() override { frontEnd_.configurationChanged(); }

private:
    LoggingFrontEnd &frontEnd_;
};

class FrontEndTickObserver : public TickObserver {
public:
    FrontEndTickObserver(RemoteCommands &remote, LoggingFrontEnd &frontEnd) : remote_(remote), frontEnd_(frontEnd) {}

    void runPendingRemoteCommand() override { remote_.runPending(); }
    void updateLiveWindows(CalendarTime now) override { frontEnd_.updateLiveWindows(now); }
    void adviseDdeClients(int) override {}
    int selectedSlot() const override { return frontEnd_.selectedSlot(); }
    void raiseLoggingStatusOnAlarm() override { frontEnd_.raiseLoggingStatusOnAlarm(); }

private:
    RemoteCommands &remote_;
    LoggingFrontEnd &frontEnd_;
};

} // namespace korvel

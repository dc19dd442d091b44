// What the logging tick asks of the displays, which the headless logger does
// not have: only the toolbox's pending remote command is run.
#pragma once

#include "acquisition/remote_commands.h"
#include "acquisition/tick_observer.h"

namespace korvel {

class HeadlessTickObserver : public TickObserver {
public:
    explicit HeadlessTickObserver(RemoteCommands &remote) : remote_(remote) {}

    void runPendingRemoteCommand() override { remote_.runPending(); }
    void updateLiveWindows(CalendarTime) override {}
    void adviseDdeClients(int) override {}
    int selectedSlot() const override { return 0; }
    void raiseLoggingStatusOnAlarm() override {}

private:
    RemoteCommands &remote_;
};

} // namespace korvel

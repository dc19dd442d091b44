// What the logging tick asks of the windows, the DDE server and the remote
// commands of the toolbox. The Qt shell, the headless front end and tests
// each implement it.
#pragma once

#include "platform/clock.h"

namespace korvel {

class TickObserver {
public:
    virtual ~TickObserver() = default;

    // Runs the remote command the toolbox left for the main loop, if any.
    virtual void runPendingRemoteCommand() = 0;

    // The periodic turn of the Spy window and the Quick Plot: a sample when
    // the plot's next sample time has come, else at most one keep-alive every
    // 2 seconds (at once when the clock went backwards).
    virtual void updateLiveWindows(CalendarTime now) = 0;

    // Pushes the instrument's new values to the DDE clients of its topic
    // "BCN%02u".
    virtual void adviseDdeClients(int slot) = 0;

    // The instrument shown in the current readings window, 0 for none.
    virtual int selectedSlot() const = 0;

    // A new alarm: the logging status window comes to the front as the
    // foreground window, with the exclamation beep.
    virtual void raiseLoggingStatusOnAlarm() = 0;
};

} // namespace korvel

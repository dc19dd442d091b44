// What the front end's windows make of the logging: the instrument icons, the
// logging status and readings windows, the live windows' periodic turn, and
// whether the main window takes commands. Every step here does nothing and
// the main window always takes commands, as in the headless logger; the Qt
// shell overrides what its windows show, and tests record it.
#pragma once

#include "platform/clock.h"

namespace korvel {

class LoggingWindows {
public:
    virtual ~LoggingWindows() = default;

    // The slot's instrument icon shows whether it logs.
    virtual void redrawIcon(int /*slot*/) {}
    // A run began; the readings display follows when the slot is the selected one.
    virtual void refreshSelectedInstrument(int /*slot*/) {}
    // The slot's row in the logging status window starts over.
    virtual void resetStatusRow(int /*slot*/) {}
    // The Start commands show the logging status window when it is hidden.
    virtual void showLoggingStatus() {}
    // A new alarm: the logging status window comes to the front as the
    // foreground window, with the exclamation beep.
    virtual void raiseLoggingStatusOnAlarm() {}
    // An Mx+B file changed an instrument's configuration: the views follow.
    virtual void configurationChanged() {}
    // A remote command opened or saved the setup: the title, the recent
    // files and the views follow.
    virtual void setupOpened() {}

    // The logging tick's periodic turn of the Spy window and the Quick Plot,
    // with the tick's own clock reading: a sample when the plot's next sample
    // time has come, else at most one keep-alive every 2 seconds.
    virtual void updateLiveWindows(CalendarTime /*now*/) {}
    // The instrument shown in the current readings window, 0 for none.
    virtual int selectedSlot() const { return 0; }

    // False while a modal dialog is open.
    virtual bool mainWindowEnabled() const { return true; }
    // Keyboard or mouse-button input, or a command for the main window, is
    // queued: a remote command waits for it.
    virtual bool userInputWaiting() const { return false; }
};

} // namespace korvel

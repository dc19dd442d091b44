// What a front end makes of the logging beyond the data files and the remote
// commands: its windows' part. Every step here does nothing and the main
// window is always enabled, as in the headless logger; the Qt shell overrides
// what its windows show.
#pragma once

#include "platform/clock.h"

namespace korvel {

class LoggingFrontEnd {
public:
    virtual ~LoggingFrontEnd() = default;

    // The Start commands show the logging status window when it is hidden.
    virtual void showLoggingStatus() {}
    // The slot's instrument icon shows whether it logs.
    virtual void redrawIcon(int /*slot*/) {}
    // A run began; the readings display follows when the slot is the selected one.
    virtual void refreshSelectedInstrument(int /*slot*/) {}
    // False while a modal dialog is open.
    virtual bool mainWindowEnabled() const { return true; }
    // An Mx+B file changed an instrument's configuration: the views follow.
    virtual void configurationChanged() {}
    // The logging tick's periodic turn, with the tick's own clock reading.
    virtual void updateLiveWindows(CalendarTime /*now*/) {}
    // The instrument shown in the current readings window, 0 for none.
    virtual int selectedSlot() const { return 0; }
    // A new alarm: the logging status window comes to the front.
    virtual void raiseLoggingStatusOnAlarm() {}
};

} // namespace korvel

// A tick observer for tests: remembers the calls it receives, in order.
#pragma once

#include "logging/tick_observer.h"

#include <string>
#include <vector>

namespace korvel {

class RecordingTickObserver : public TickObserver {
public:
    std::vector<std::string> events;
    int selected = 0;
    int liveWindowUpdates = 0;

    void runPendingRemoteCommand() override { events.push_back("remote"); }
    void updateLiveWindows(CalendarTime) override { ++liveWindowUpdates; }
    void adviseDdeClients(int slot) override { events.push_back("dde " + std::to_string(slot)); }
    int selectedSlot() const override { return selected; }
    void raiseLoggingStatusOnAlarm() override { events.push_back("raise"); }
};

} // namespace korvel

// The logging engine of the windowed logger, driven by a timer that ticks
// again at once while scans come in and rests a little while the instruments
// have nothing new. What the engine tells the windows comes out as signals.
#pragma once

#include "app/live_windows.h"
#include "logging/logging_core.h"
#include "logging/session_target.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace korvel {

// The main window's part: the selected instrument and whether a modal dialog
// is open.
struct ShellLoggingWindow {
    std::function<int()> selectedSlot;
    std::function<bool()> mainWindowEnabled;
};

class ShellLogging : public QObject, private LoggingWindows {
    Q_OBJECT
public:
    ShellLogging(SessionTarget target, ShellLoggingWindow window, UserInterface &ui, Clock &clock,
                 QObject *parent = nullptr);

    // The live windows the tick feeds, once they exist.
    void setLiveWindows(LiveWindows *windows) { liveWindows_ = windows; }

    LoggingCommands &commands() { return core_.commands(); }
    LoggingEngine &engine() { return core_.engine(); }
    const LoggingRuns &runs() const { return core_.runs(); }
    RemoteCommands &remote() { return core_.remote(); }
    // A start, a stop or a tick is at work and the library pumps events.
    bool busy() const { return core_.engine().busy(); }
    bool anyLogging() const { return core_.anyLogging(); }

signals:
    void iconChanged(int slot);
    void selectedRunBegan(int slot);
    void loggingStatusRequested();
    void alarmRaised();
    void instrumentConfigurationChanged();
    void remoteSetupOpened();

private:
    void tick();

    void redrawIcon(int slot) override { emit iconChanged(slot); }
    void refreshSelectedInstrument(int slot) override { emit selectedRunBegan(slot); }
    void showLoggingStatus() override { emit loggingStatusRequested(); }
    void raiseLoggingStatusOnAlarm() override { emit alarmRaised(); }
    void configurationChanged() override { emit instrumentConfigurationChanged(); }
    void resetStatusRow(int slot) override;
    void updateLiveWindows(CalendarTime now) override;
    void setupOpened() override { emit remoteSetupOpened(); }
    int selectedSlot() const override { return window_.selectedSlot(); }
    bool mainWindowEnabled() const override { return window_.mainWindowEnabled(); }

    ShellLoggingWindow window_;
    LiveWindows *liveWindows_ = nullptr;
    LoggingCore core_;
    QTimer timer_;
};

} // namespace korvel

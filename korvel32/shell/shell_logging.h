// The logging engine of the windowed logger, driven by a timer that ticks
// again at once while scans come in and rests a little while the instruments
// have nothing new. What the engine tells the windows comes out as signals.
#pragma once

#include "logging/logging_core.h"
#include "logging/session_target.h"
#include "shell_logging_hosts.h"

#include <QObject>
#include <QTimer>

namespace korvel {

class ShellLogging : public QObject {
    Q_OBJECT
public:
    ShellLogging(SessionTarget target, ShellLoggingWindow window, UserInterface &ui, Clock &clock,
                 QObject *parent = nullptr);

    LoggingCommands &commands() { return core_.commands(); }
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
    void configurationChanged();

private:
    void tick();

    ShellFrontEnd frontEnd_;
    LoggingCore core_;
    QTimer timer_;
};

} // namespace korvel

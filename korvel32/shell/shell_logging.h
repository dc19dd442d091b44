// The logging engine of the windowed logger with everything it talks to: the
// data files, the Start/Stop commands, the remote commands and the logging
// tick, driven by a timer that ticks again at once while scans come in and
// rests a little while the instruments have nothing new. What the engine
// tells the windows comes out as signals.
#pragma once

#include "acquisition/logging_commands.h"
#include "acquisition/logging_engine.h"
#include "acquisition/logging_tick.h"
#include "acquisition/remote_commands.h"
#include "acquisition/session_target.h"
#include "acquisition/slot_data_files.h"
#include "acquisition/tick_rest.h"
#include "shell_logging_hosts.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace korvel {

// The window's part: the selected instrument and whether a modal dialog is
// open.
struct ShellLoggingWindow {
    std::function<int()> selectedSlot;
    std::function<bool()> mainWindowEnabled;
};

class ShellLogging : public QObject {
    Q_OBJECT
public:
    ShellLogging(SessionTarget target, ShellLoggingWindow window, UserInterface &ui, Clock &clock,
                 QObject *parent = nullptr);

    LoggingCommands &commands() { return commands_; }
    const LoggingRuns &runs() const { return runs_; }
    RemoteCommands &remote() { return remote_; }
    // A start, a stop or a tick is at work and the library pumps events.
    bool busy() const { return engine_.busy(); }
    bool anyLogging() const;

signals:
    void iconChanged(int slot);
    void selectedRunBegan(int slot);
    void loggingStatusRequested();
    void alarmRaised();
    void configurationChanged();

private:
    void tick();

    InstrumentTable &table_;
    SlotDataFiles files_;
    ShellRemoteHost remoteHost_;
    ShellLoggingObserver observer_;
    LoggingEngine engine_;
    EngineRuns runs_{engine_};
    ShellCommandHost commandHost_;
    LoggingCommands commands_;
    RemoteCommands remote_;
    ShellTickObserver tickObserver_;
    LoggingTick tick_;
    QTimer timer_;
    TickRest rest_;
};

} // namespace korvel

#include "shell_logging.h"

namespace korvel {

ShellLogging::ShellLogging(SessionTarget target, ShellLoggingWindow window, UserInterface &ui, Clock &clock,
                           QObject *parent)
        : QObject(parent), frontEnd_(std::move(window), *this), core_(std::move(target), frontEnd_, ui, clock) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ShellLogging::tick);
    timer_.start(0);
}

void ShellLogging::tick() { timer_.start(core_.tick()); }

void ShellFrontEnd::showLoggingStatus() { emit owner_.loggingStatusRequested(); }

void ShellFrontEnd::redrawIcon(int slot) { emit owner_.iconChanged(slot); }

void ShellFrontEnd::refreshSelectedInstrument(int slot) { emit owner_.selectedRunBegan(slot); }

void ShellFrontEnd::configurationChanged() { emit owner_.configurationChanged(); }

void ShellFrontEnd::raiseLoggingStatusOnAlarm() { emit owner_.alarmRaised(); }

} // namespace korvel

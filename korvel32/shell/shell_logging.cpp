#include "shell_logging.h"

namespace korvel {

ShellLogging::ShellLogging(SessionTarget target, ShellLoggingWindow window, UserInterface &ui, Clock &clock,
                           QObject *parent)
        : QObject(parent), window_(std::move(window)), core_(std::move(target), *this, ui, clock) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ShellLogging::tick);
    timer_.start(0);
}

void ShellLogging::tick() { timer_.start(core_.tick()); }

void ShellLogging::resetStatusRow(int slot) {
    if (liveWindows_ != nullptr)
        liveWindows_->notify(ChildWindow::LoggingStatus, logging_status::kLoggingStarted, slot, 0);
}

void ShellLogging::updateLiveWindows(CalendarTime now) {
    if (liveWindows_ != nullptr) liveWindows_->periodicTurn(now);
}

} // namespace korvel

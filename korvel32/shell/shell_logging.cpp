#include "shell_logging.h"

namespace korvel {

ShellLogging::ShellLogging(SessionTarget target, ShellLoggingWindow window, UserInterface &ui, Clock &clock,
                           QObject *parent)
    : QObject(parent), table_(target.table), files_(target.table, target.regional),
      remoteHost_(std::move(window.mainWindowEnabled), *this), observer_(files_, remote_, *this),
      engine_(target.table, target.options, ui, observer_, clock),
      commandHost_(target.table, files_, ui, clock, *this),
      commands_(target.table, target.options, runs_, commandHost_),
      remote_(RemoteCommandTargets{target.table, runs_, commands_, target.document, ui, target.programDirectory,
                                   target.regional.decimalSymbol},
              remoteHost_),
      tickObserver_(remote_, std::move(window.selectedSlot), *this),
      tick_(target.table, target.options, engine_, files_, ui, observer_, tickObserver_, clock) {
    engine_.setAutoScanDisable(target.autoScanDisable);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ShellLogging::tick);
    timer_.start(0);
}

bool ShellLogging::anyLogging() const {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse && runs_.logging(slot)) return true;
    }
    return false;
}

void ShellLogging::tick() {
    tick_();
    timer_.start(rest_.after(tick_.mayRest()));
}

void ShellCommandHost::showLoggingStatus() {
    emit owner_.loggingStatusRequested();
}

void ShellLoggingObserver::redrawIcon(int slot) {
    emit owner_.iconChanged(slot);
}

void ShellLoggingObserver::refreshSelectedInstrument(int slot) {
    emit owner_.selectedRunBegan(slot);
}

void ShellRemoteHost::configurationChanged() {
    emit owner_.configurationChanged();
}

void ShellTickObserver::raiseLoggingStatusOnAlarm() {
    emit owner_.alarmRaised();
}

} // namespace korvel

#include "close_sequence.h"

#include "main_window_input.h"
#include "shell_logging.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QSessionManager>
#include <QTimer>

namespace korvel {

namespace {

// The busy mark lasts one exchange with an instrument; trying again this much
// later keeps the retries from spinning.
constexpr int kRetryMs = 50;

} // namespace

CloseSequence::CloseSequence(QMainWindow &mainWindow, ShellLogging &logging, CSetupDoc &document, UserInterface &ui,
                             std::function<void()> saveCommand, std::function<bool()> cancelSpy)
        : mainWindow_(mainWindow), logging_(logging), document_(document), ui_(ui),
          saveCommand_(std::move(saveCommand)), cancelSpy_(std::move(cancelSpy)) {}

bool CloseSequence::mayClose() {
    if ((logging_.anyLogging() && logging_.busy()) || cancelSpy_()) {
        retryLater();
        return false;
    }
    return stopLoggingAndSave();
}

void CloseSequence::commitData(QSessionManager &manager, bool surviveLogOff, bool simulate) {
    if (surviveLogOff) return;
    if (!manager.allowsInteraction()) {
        if (logging_.anyLogging() || document_.modified()) manager.cancel();
        return;
    }
    // Only a simulated session is stopped from here; a real one goes through
    // the close sequence, which waits for the last scans, as does an open Spy.
    if ((logging_.anyLogging() && !simulate) || cancelSpy_()) {
        retryLater();
        manager.cancel();
        return;
    }
    if (!stopLoggingAndSave()) manager.cancel();
}

// After asking, logging stops and every run is waited for; then a changed
// setup is saved or given up. False when the user cancelled either.
bool CloseSequence::stopLoggingAndSave() {
    if (logging_.anyLogging()) {
        if (ui_.showMessage(kLoggingWillStop, MessageIcon::Question, MessageButtons::OkCancel) ==
            MessageAnswer::Cancel) {
            return false;
        }
        stopAllAndWait();
    }
    return document_.saveBeforeClose(saveCommand_);
}

void CloseSequence::retryLater() { QTimer::singleShot(kRetryMs, &mainWindow_, &QWidget::close); }

// The main window takes no input meanwhile, while the progress window, a
// window of its own, keeps its Abort button; the logging tick's timer keeps
// the event loop waking.
void CloseSequence::stopAllAndWait() {
    logging_.commands().stopAll(CommandSource::User);
    setMainWindowInputEnabled(mainWindow_, false);
    {
        BusyCursor busy(ui_);
        while (logging_.anyLogging()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    setMainWindowInputEnabled(mainWindow_, true);
    mainWindow_.activateWindow();
}

} // namespace korvel

// The checks before the main window closes, and before the session ends:
// logging is stopped (after asking) and waited for, then a changed setup is
// saved or given up. While a start, stop or tick is at work the close is
// tried again a little later.
#pragma once

#include "platform/user_interface.h"
#include "setup/setup_doc.h"

#include <functional>

class QSessionManager;
class QMainWindow;

namespace korvel {

class ShellLogging;

inline constexpr const char *kLoggingWillStop = "Currently logging instruments will be stopped!";

class CloseSequence {
public:
    // cancelSpy ends an open Spy window unless the busy mark is set; true
    // while one is open, and the close is tried again once it has gone.
    CloseSequence(QMainWindow &mainWindow, ShellLogging &logging, CSetupDoc &document, UserInterface &ui,
                  std::function<void()> saveCommand, std::function<bool()> cancelSpy);

    // True when the window may close now; the caller then hides the windows
    // and removes every instrument.
    bool mayClose();

    // The session manager asks whether the session may end. With /X the
    // logger stays through a log-off and consents at once.
    void commitData(QSessionManager &manager, bool surviveLogOff, bool simulate);

private:
    bool stopLoggingAndSave();
    void retryLater();
    void stopAllAndWait();

    QMainWindow &mainWindow_;
    ShellLogging &logging_;
    CSetupDoc &document_;
    UserInterface &ui_;
    std::function<void()> saveCommand_;
    std::function<bool()> cancelSpy_;
};

} // namespace korvel

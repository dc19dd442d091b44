// The engine's user interface shown with real windows: modal message boxes,
// the four warning windows, the progress window and the busy cursor. The
// engine calls all of this from inside the logging tick, so only showMessage
// waits for the user.
#pragma once

#include <QPointer>

#include <array>
#include <cstddef>

#include "platform/user_interface.h"

class QWidget;

namespace korvel {

class LiveWindowSet;
class ProgressWindow;
class WarningWindow;

// The caption of every message box and of the program's own windows.
inline constexpr char kApplicationTitle[] = "Orrin Korvel Logger";

// A message box or dialog of the program waits for the user.
bool modalDialogOpen();

class QtUserInterface : public UserInterface {
public:
    QtUserInterface();
    ~QtUserInterface() override;
    QtUserInterface(const QtUserInterface &) = delete;
    QtUserInterface &operator=(const QtUserInterface &) = delete;

    void setMainWindow(QWidget *window); // parent of message boxes and the modeless windows
    // The windows that take the child-window notifications.
    void setLiveWindows(LiveWindowSet *windows);

    MessageAnswer showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) override;
    void showWarning(WarningKind kind, const std::string &text, const std::string &detail) override;
    void showProgress(const std::string &text) override;
    void hideProgress() override;
    bool progressShown() const override;
    bool abortRequested() const override;
    void beginBusy() override;
    void endBusy() override;
    void notify(ChildWindow window, int message, int wParam, long lParam) override;
    void pumpEvents() override;

private:
    static constexpr std::size_t kWarningKinds = 4;

    QPointer<QWidget> mainWindow_;
    QPointer<LiveWindowSet> liveWindows_;
    // Guarded pointers: the main window deletes them when it goes first, and
    // the engine may still stop a run after that.
    std::array<QPointer<WarningWindow>, kWarningKinds> warningWindows_;
    QPointer<ProgressWindow> progressWindow_;
    int busyDepth_ = 0;
};

} // namespace korvel

// The one way the engine (setup, logging, data files, application) speaks to
// the user. The Qt shell shows real windows, the headless front end prints
// and answers by policy, and tests script the answers.
#pragma once

#include <string>

#include "platform/string_table.h"
#include "platform/window_notifications.h"

namespace korvel {

enum class MessageIcon { Exclamation, Question, Information, Stop };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The non-modal warning windows, one per kind of problem met while logging,
// so that a warning never stops the logging of the other instruments.
enum class WarningKind {
    CommunicationInterruption,
    ScanQueueOverflow, // has a second line telling what happened to the scans
    InstrumentStatus,
    DataFile, // writing, stopping and free disk space
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal message box with the system's text; returns the button chosen.
    virtual MessageAnswer showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) = 0;

    // Puts text (and detail, the second line, when the kind has one) into the
    // warning window of that kind and brings it forward. Whoever raises a
    // warning remembers that it is shown and does not raise it again until its
    // condition has cleared.
    virtual void showWarning(WarningKind kind, const std::string &text, const std::string &detail) = 0;

    // The progress window: showing it when it was hidden clears its Abort
    // request; hiding it clears the request too.
    virtual void showProgress(const std::string &text) = 0;
    virtual void hideProgress() = 0;
    virtual bool progressShown() const = 0;
    virtual bool abortRequested() const = 0;

    // The busy cursor, shown while at least one begin has no matching end.
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;

    // A notification to a child window (numbers in window_notifications.h).
    virtual void notify(ChildWindow window, int message, int wParam, long lParam) = 0;

    // Called over and over while the engine waits on a device of its own (the
    // serial line), so that windows repaint and timers run; user input waits.
    virtual void pumpEvents() {}
};

// A question with Yes and No; true when the user answered Yes.
inline bool askedYes(UserInterface &ui, const std::string &question) {
    return ui.showMessage(question, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

// A string-table message about something that went wrong, with the
// exclamation icon and only an OK button.
inline void showError(UserInterface &ui, int messageId) {
    ui.showMessage(resourceString(messageId), MessageIcon::Exclamation, MessageButtons::Ok);
}

// Shows the busy cursor for the lifetime of the object.
class BusyCursor {
public:
    explicit BusyCursor(UserInterface &ui) : ui_(ui) { ui_.beginBusy(); }
    ~BusyCursor() { ui_.endBusy(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    UserInterface &ui_;
};

} // namespace korvel

// A user interface for tests: message boxes take their answers from a queue,
// and everything shown is recorded for the test to check.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/progress_state.h"
#include "platform/user_interface.h"

namespace korvel {

class ScriptedUserInterface : public UserInterface {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
        MessageAnswer answer;
    };
    struct Warning {
        WarningKind kind;
        std::string text;
        std::string detail;
    };
    struct Notification {
        ChildWindow window;
        int message;
        int wParam;
        long lParam;
    };

    // The answer to the next message box; with none queued a box is answered
    // with its first button (OK or Yes).
    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    // Presses Abort in the progress window (only while it is shown).
    void pressAbort() { progress_.requestAbort(); }

    const std::vector<Message> &messages() const { return messages_; }
    // The texts of the message boxes shown, in order.
    std::vector<std::string> messageTexts() const;
    const std::vector<Warning> &warnings() const { return warnings_; }
    const std::vector<std::string> &progressTexts() const { return progressTexts_; }
    const std::vector<Notification> &notifications() const { return notifications_; }
    int busyDepth() const { return busyDepth_; }
    int pumps() const { return pumps_; }

    MessageAnswer showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) override;
    void showWarning(WarningKind kind, const std::string &text, const std::string &detail) override;
    void showProgress(const std::string &text) override;
    void hideProgress() override { progress_.hide(); }
    bool progressShown() const override { return progress_.shown(); }
    bool abortRequested() const override { return progress_.abortRequested(); }
    void beginBusy() override { ++busyDepth_; }
    void endBusy() override { --busyDepth_; }
    void notify(ChildWindow window, int message, int wParam, long lParam) override;
    void pumpEvents() override { ++pumps_; }

private:
    std::deque<MessageAnswer> answers_;
    std::vector<Message> messages_;
    std::vector<Warning> warnings_;
    std::vector<std::string> progressTexts_;
    std::vector<Notification> notifications_;
    ProgressState progress_;
    int busyDepth_ = 0;
    int pumps_ = 0;
};

} // namespace korvel

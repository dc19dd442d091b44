// The user interface of the headless front end: everything shown is printed
// (to standard error unless told otherwise) and message boxes are answered by
// a policy fixed at construction. There are no child windows to notify and
// no Abort button to press.
#pragma once

#include <iosfwd>
#include <string>

#include "platform/progress_state.h"
#include "platform/user_interface.h"

namespace korvel {

enum class AnswerPolicy {
    Accept, // OK or Yes
    Refuse, // Cancel or No (a box with only OK is still answered OK)
};

class PrintingUserInterface : public UserInterface {
public:
    explicit PrintingUserInterface(AnswerPolicy policy);
    PrintingUserInterface(AnswerPolicy policy, std::ostream &out);

    MessageAnswer showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) override;
    void showWarning(WarningKind kind, const std::string &text, const std::string &detail) override;
    void showProgress(const std::string &text) override;
    void hideProgress() override { progress_.hide(); }
    bool progressShown() const override { return progress_.shown(); }
    bool abortRequested() const override { return false; }
    void beginBusy() override {}
    void endBusy() override {}
    void notify(ChildWindow, int, int, long) override {}

private:
    AnswerPolicy policy_;
    std::ostream &out_;
    ProgressState progress_;
    std::string lastProgressText_;
};

} // namespace korvel

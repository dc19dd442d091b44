#include "scripted_user_interface.h"

namespace korvel {

MessageAnswer ScriptedUserInterface::showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) {
    MessageAnswer answer =
        (buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel) ? MessageAnswer::Ok : MessageAnswer::Yes;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messages_.push_back({text, icon, buttons, answer});
    return answer;
}

std::vector<std::string> ScriptedUserInterface::messageTexts() const {
    std::vector<std::string> texts;
    for (const Message &message : messages_) texts.push_back(message.text);
    return texts;
}

void ScriptedUserInterface::showWarning(WarningKind kind, const std::string &text, const std::string &detail) {
    warnings_.push_back({kind, text, detail});
}

void ScriptedUserInterface::showProgress(const std::string &text) {
    progress_.show();
    progressTexts_.push_back(text);
}

void ScriptedUserInterface::notify(ChildWindow window, int message, int wParam, long lParam) {
    notifications_.push_back({window, message, wParam, lParam});
}

} // namespace korvel

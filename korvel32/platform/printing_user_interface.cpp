#include "platform/printing_user_interface.h"

#include <iostream>

namespace korvel {
namespace {

const char *iconLabel(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation: return "Warning";
        case MessageIcon::Question: return "Question";
        case MessageIcon::Information: return "Information";
        case MessageIcon::Stop: return "Error";
    }
    return "";
}

const char *answerLabel(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok: return "OK";
        case MessageAnswer::Cancel: return "Cancel";
        case MessageAnswer::Yes: return "Yes";
        case MessageAnswer::No: return "No";
    }
    return "";
}

MessageAnswer answerFor(MessageButtons buttons, AnswerPolicy policy) {
    const bool accept = policy == AnswerPolicy::Accept;
    switch (buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::OkCancel: return accept ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel: return accept ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

} // namespace

PrintingUserInterface::PrintingUserInterface(AnswerPolicy policy) : PrintingUserInterface(policy, std::cerr) {}

PrintingUserInterface::PrintingUserInterface(AnswerPolicy policy, std::ostream &out) : policy_(policy), out_(out) {}

MessageAnswer PrintingUserInterface::showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) {
    const MessageAnswer answer = answerFor(buttons, policy_);
    out_ << iconLabel(icon) << ": " << text << " [" << answerLabel(answer) << "]\n" << std::flush;
    return answer;
}

void PrintingUserInterface::showWarning(WarningKind, const std::string &text, const std::string &detail) {
    out_ << "WARNING! " << text;
    if (!detail.empty()) out_ << '\n' << detail;
    out_ << '\n' << std::flush;
}

void PrintingUserInterface::showProgress(const std::string &text) {
    // A progress line repeated while the window stays up is printed once.
    if (progress_.show() || text != lastProgressText_) out_ << text << '\n' << std::flush;
    lastProgressText_ = text;
}

} // namespace korvel

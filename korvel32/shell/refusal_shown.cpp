#include "shell/refusal_shown.h"

#include <QLineEdit>

namespace korvel {

void showRefusal(UserInterface &ui, const std::string &text, QWidget *field) {
    ui.showMessage(text, MessageIcon::Exclamation, MessageButtons::Ok);
    if (field == nullptr) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) edit->selectAll();
}

} // namespace korvel

#include "shell/status_prompts.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>

namespace korvel {

namespace {

constexpr const char *kIdleMessage = "Ready";

const QAction *greyedOutCommand(const QAction *action) {
    if (action == nullptr || action->isEnabled() || action->isSeparator() || action->statusTip().isEmpty())
        return nullptr;
    return action;
}

} // namespace

// Qt clears the pane when the pointer leaves an enabled command, also on its
// way to a greyed-out one; the pane then shows that one's prompt again.
StatusPrompts::StatusPrompts(QStatusBar &bar) : QObject(&bar), bar_(bar) {
    connect(&bar_, &QStatusBar::messageChanged, this, [this](const QString &message) {
        if (!message.isEmpty()) return;
        bar_.showMessage(greyedOut_ ? greyedOut_->statusTip() : QString::fromLatin1(kIdleMessage));
    });
    bar_.showMessage(QString::fromLatin1(kIdleMessage));
}

void StatusPrompts::watchMenu(QMenu &menu) { menu.installEventFilter(this); }

bool StatusPrompts::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            if (auto *menu = qobject_cast<QMenu *>(watched)) {
                const QPoint position = static_cast<QMouseEvent *>(event)->position().toPoint();
                pointAt(greyedOutCommand(menu->actionAt(position)));
            }
            break;
        case QEvent::Leave:
        case QEvent::Hide: pointAt(nullptr); break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

void StatusPrompts::pointAt(const QAction *command) {
    if (command == greyedOut_) return;
    const bool wasShown = !greyedOut_.isNull();
    greyedOut_ = command;
    if (command != nullptr) {
        bar_.showMessage(command->statusTip());
    } else if (wasShown) {
        bar_.clearMessage();
    }
}

} // namespace korvel

// One of the non-modal warning windows that logging raises, one per kind of
// problem, so that a warning never holds up the other instruments.
#pragma once

#include <QDialog>

class QLabel;

namespace korvel {

class WarningWindow : public QDialog {
    Q_OBJECT
public:
    // withDetailLine: the window has a second line telling what happened (the
    // scan-queue overflow window).
    explicit WarningWindow(bool withDetailLine, QWidget *parent = nullptr);

    // Puts the message (and the detail, when the window has its line) in place,
    // shows the window and brings it forward. Never waits for the user.
    void showWarning(const QString &message, const QString &detail);

private:
    QLabel *message_;
    QLabel *detail_ = nullptr;
};

} // namespace korvel

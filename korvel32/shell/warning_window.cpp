#include "shell/warning_window.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace korvel {
namespace {

QLabel *textLine(const char *name, QWidget *parent) {
    auto *line = new QLabel(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setWordWrap(true);
    line->setMinimumWidth(360);
    return line;
}

} // namespace

WarningWindow::WarningWindow(bool withDetailLine, QWidget *parent)
        : QDialog(parent), message_(textLine("message", this)) {
    setWindowTitle(QStringLiteral("WARNING!"));

    auto *icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto *lines = new QVBoxLayout;
    lines->addWidget(message_);
    if (withDetailLine) {
        detail_ = textLine("detail", this);
        lines->addWidget(detail_);
    }
    lines->addStretch();

    auto *body = new QHBoxLayout;
    body->addWidget(icon);
    body->addLayout(lines, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QWidget::hide);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void WarningWindow::showWarning(const QString &message, const QString &detail) {
    message_->setText(message);
    if (detail_) detail_->setText(detail);
    show();
    raise();
    activateWindow();
}

} // namespace korvel

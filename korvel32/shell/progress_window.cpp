#include "shell/progress_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

ProgressWindow::ProgressWindow(QWidget *parent) : QDialog(parent), text_(new QLabel(this)) {
    text_->setObjectName(QStringLiteral("text"));
    text_->setMinimumWidth(300);
    text_->setAlignment(Qt::AlignCenter);

    auto *abort = new QPushButton(QStringLiteral("Abort"), this);
    abort->setObjectName(QStringLiteral("abort"));
    abort->setAutoDefault(false);
    connect(abort, &QPushButton::clicked, this, [this] { state_.requestAbort(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::showText(const QString &text) {
    text_->setText(text);
    if (state_.show()) show();
    // The caller may be deep in a drain or a conversion: paint the text now.
    repaint();
}

void ProgressWindow::hideWindow() {
    state_.hide();
    hide();
}

void ProgressWindow::reject() { state_.requestAbort(); }

} // namespace korvel

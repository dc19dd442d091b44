#include "shell/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

#include "shell/live_window_set.h"
#include "shell/progress_window.h"
#include "shell/warning_window.h"

namespace korvel {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return QMessageBox::Ok;
        case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The first button is the default one, as in the system's own boxes.
QMessageBox::StandardButton firstButton(MessageButtons buttons) {
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? QMessageBox::Ok : QMessageBox::Yes;
}

// A box closed without a button (Escape, window close) gives its way out:
// Cancel when it has one, else No, else OK.
MessageAnswer answerOf(QMessageBox::StandardButton clicked, MessageButtons buttons) {
    switch (clicked) {
        case QMessageBox::Ok: return MessageAnswer::Ok;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        case QMessageBox::Cancel: return MessageAnswer::Cancel;
        default: break;
    }
    switch (buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::YesNo: return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

bool hasDetailLine(WarningKind kind) { return kind == WarningKind::ScanQueueOverflow; }

} // namespace

QtUserInterface::QtUserInterface() : progressWindow_(new ProgressWindow) {
    for (std::size_t kind = 0; kind < kWarningKinds; ++kind)
        warningWindows_[kind] = new WarningWindow(hasDetailLine(static_cast<WarningKind>(kind)));
    progressWindow_->setWindowTitle(QString::fromLatin1(kApplicationTitle));
}

QtUserInterface::~QtUserInterface() {
    if (busyDepth_ > 0) QApplication::restoreOverrideCursor();
    for (auto &window : warningWindows_) delete window;
    delete progressWindow_;
}

void QtUserInterface::setMainWindow(QWidget *window) {
    mainWindow_ = window;
    // Keep each window's own flags: a plain setParent would turn it into a child widget.
    for (auto &warning : warningWindows_) {
        if (warning) warning->setParent(window, warning->windowFlags());
    }
    if (progressWindow_) progressWindow_->setParent(window, progressWindow_->windowFlags());
}

void QtUserInterface::setLiveWindows(LiveWindowSet *windows) { liveWindows_ = windows; }

bool modalDialogOpen() { return QApplication::activeModalWidget() != nullptr; }

MessageAnswer QtUserInterface::showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(boxIcon(icon), QString::fromLatin1(kApplicationTitle), QString::fromStdString(text),
                    boxButtons(buttons), mainWindow_);
    box.setDefaultButton(firstButton(buttons));
    box.exec();
    return answerOf(box.standardButton(box.clickedButton()), buttons);
}

void QtUserInterface::showWarning(WarningKind kind, const std::string &text, const std::string &detail) {
    if (WarningWindow *window = warningWindows_[static_cast<std::size_t>(kind)])
        window->showWarning(QString::fromStdString(text), QString::fromStdString(detail));
}

void QtUserInterface::showProgress(const std::string &text) {
    if (progressWindow_) progressWindow_->showText(QString::fromStdString(text));
}

void QtUserInterface::hideProgress() {
    if (progressWindow_) progressWindow_->hideWindow();
}

bool QtUserInterface::progressShown() const { return progressWindow_ && progressWindow_->shown(); }

bool QtUserInterface::abortRequested() const { return progressWindow_ && progressWindow_->abortRequested(); }

void QtUserInterface::beginBusy() {
    if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInterface::endBusy() {
    if (busyDepth_ > 0 && --busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

// User input waits until the engine is done, so that no command can start
// inside the one that waits.
void QtUserInterface::pumpEvents() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void QtUserInterface::notify(ChildWindow window, int message, int wParam, long lParam) {
    if (liveWindows_) liveWindows_->engine().notify(window, message, wParam, lParam);
}

} // namespace korvel

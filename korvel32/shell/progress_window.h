// The progress window: one line of text and an Abort button, shown while
// logging runs drain their last scans and while files are converted. Whoever
// shows it polls abortRequested(); the window never waits for the user.
#pragma once

#include <QDialog>

#include "platform/progress_state.h"

class QLabel;

namespace korvel {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    // Sets the text; a hidden window is shown with its Abort request cleared.
    void showText(const QString &text);
    // Hides the window and forgets an Abort request.
    void hideWindow();

    bool shown() const { return state_.shown(); }
    bool abortRequested() const { return state_.abortRequested(); }

    // Escape and the window's close button count as Abort: the window stays
    // up until whoever showed it has stopped.
    void reject() override;

private:
    QLabel *text_;
    ProgressState state_;
};

} // namespace korvel

// The Spy: the Spy Channel Selection dialog, and the modal Spy window with
// the chosen channels' live readings, refreshed by the logging tick. A double
// click in the Spy window goes back to the selection.
#pragma once

#include "app/spy_selection.h"
#include "app/spy_window_model.h"
#include "platform/user_interface.h"

#include <QDialog>

class QLabel;

namespace korvel {

class ChannelChoiceList;

class SpySelectionDialog : public QDialog {
    Q_OBJECT
public:
    SpySelectionDialog(SpySelectionModel &model, UserInterface &ui, QWidget *parent);

    ChannelChoiceList &channels() { return *channels_; }
    // OK without a selected line is refused and the dialog stays.
    void accept() override;

private:
    SpySelectionModel &model_;
    UserInterface &ui_;
    ChannelChoiceList *channels_;
};

class SpyWindow : public QDialog {
    Q_OBJECT
public:
    SpyWindow(const SpyWindowModel &model, QWidget *parent);

    // New readings; an ended Spy closes its window.
    void showReadings();
    // Closed by a double click, to choose the channels again.
    bool selectionWanted() const { return selectionWanted_; }

    QString channelColumn() const;
    QString readingColumn() const;
    QString unitsColumn() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const SpyWindowModel &model_;
    QLabel *channels_;
    QLabel *readings_;
    QLabel *units_;
    bool selectionWanted_ = false;
};

} // namespace korvel

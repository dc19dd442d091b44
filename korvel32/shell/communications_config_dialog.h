// "Communications Configuration File": the instruments of ccf.cfg with
// Verify, Add, Modify, Delete, Delete All and Socket Port. The rules are
// CommunicationsConfigModel's; this dialog shows its list and buttons and
// opens the two dialogs that edit an entry and the socket port.
#pragma once

#include "setup/communications_config_rules.h"

#include <QDialog>

#include <functional>
#include <map>

class QLabel;
class QListWidget;
class QPushButton;

namespace korvel {

class CommunicationsConfigDialog : public QDialog {
    Q_OBJECT

public:
    explicit CommunicationsConfigDialog(CcfEditingTarget target, QWidget *parent = nullptr);

    // Fills the list from ccf.cfg, creating the file when there is none; false
    // after the message when it cannot be read, and the dialog is not shown.
    bool fillList();

    QListWidget &list() { return *list_; }
    // The buttons Verify to Socket Port, and the labels Isolated and General.
    QWidget &control(CcfControl control) { return *controls_.at(control); }
    QPushButton &closeButton() { return *close_; }

private:
    QPushButton *addButton(CcfControl control, const char *text, const std::function<void()> &command);
    // Add and Modify open Instrument On Network over the entry's model.
    EntryEditor editEntry();
    // Runs a command of the model, then shows what it left, or closes when a
    // library failure ends the dialog.
    void run(const std::function<void()> &command);
    void refresh();
    void verify();

    CommunicationsConfigModel model_;
    UserInterface &ui_;
    QListWidget *list_;
    QPushButton *close_;
    std::map<CcfControl, QWidget *> controls_;
};

// The menu command's dialog; nothing is shown but the message when ccf.cfg
// cannot be read.
void editCommunicationsConfiguration(CcfEditingTarget target, QWidget *parent);

} // namespace korvel

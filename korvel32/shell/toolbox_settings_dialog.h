// "Dereruded'i Ruzozov": each instrument's toolbox scan queue, with the size
// of one scan of the chosen instrument and Apply Size for the selected ones.
// The rules are ToolboxSettingsModel's; this dialog only shows them.
#pragma once

#include "app/toolbox_add_on.h"
#include "app/toolbox_settings_model.h"
#include "platform/user_interface.h"
#include "setup/setup_doc.h"

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace korvel {

class ToolboxSettingsDialog : public QDialog {
    Q_OBJECT

public:
    ToolboxSettingsDialog(InstrumentTable &table, ToolboxAddOn &toolbox, CSetupDoc &document, UserInterface &ui,
                          QWidget *parent = nullptr);

    QTreeWidget &list() { return *list_; }
    QLabel &scanSize() { return *scanSize_; }
    QLineEdit &sizeField() { return *size_; }
    QPushButton &applyButton() { return *apply_; }
    QPushButton &closeButton() { return *close_; }

private:
    void fillRows();
    void showChosen();
    void applySize();
    std::vector<int> selectedSlots() const;

    ToolboxSettingsModel model_;
    CSetupDoc &document_;
    UserInterface &ui_;
    QTreeWidget *list_;
    QLabel *scanSize_;
    QLineEdit *size_;
    QPushButton *apply_;
    QPushButton *close_;
};

} // namespace korvel

// "Group Instruments": each instrument's role (Async, Master or Slave) and
// whether the group is externally wired. A change takes effect at once, so
// the dialog closes with OK alone.
#pragma once

#include "setup/group_instruments_rules.h"
#include "shell/model_dialog.h"

#include <map>

class QCheckBox;
class QRadioButton;

namespace korvel {

class GroupInstrumentsDialog : public ModelDialog {
    Q_OBJECT
public:
    GroupInstrumentsDialog(GroupInstrumentsModel model, UserInterface &ui, QWidget *parent);

    QListWidget &instrumentList() const { return *instruments_; }
    QRadioButton &roleButton(GroupRole role) const { return *roles_.at(role); }
    QCheckBox &wiredBox() const { return *wired_; }

private:
    void showModel() override;

    GroupInstrumentsModel model_;
    ControlWidgets<GroupControl> controls_;
    QListWidget *instruments_;
    std::map<GroupRole, QRadioButton *> roles_;
    QCheckBox *wired_;
};

} // namespace korvel

// "Auto Rollover": when the data file rolls over to a new one (at a size,
// after a time, at an hour of the day, or never) and what low disk space does.
#pragma once

#include "setup/auto_rollover_rules.h"
#include "shell/model_dialog.h"

#include <map>

class QRadioButton;

namespace korvel {

class AutoRolloverDialog : public ModelDialog {
    Q_OBJECT
public:
    AutoRolloverDialog(AutoRolloverModel model, UserInterface &ui, QWidget *parent);

    const AutoRolloverModel &model() const { return model_; }
    QRadioButton &modeButton(RolloverMode mode) const { return *modes_.at(mode); }
    QLineEdit &field(RolloverControl field) const { return *fields_.at(field); }
    QRadioButton &stopLoggingButton() const { return *stopLogging_; }

private:
    void showModel() override;
    void tryAccept() override { acceptUnless(model_.accept(), controls_); }

    AutoRolloverModel model_;
    ControlWidgets<RolloverControl> controls_;
    std::map<RolloverMode, QRadioButton *> modes_;
    std::map<RolloverControl, QLineEdit *> fields_;
    QRadioButton *stopLogging_ = nullptr;
    QRadioButton *performRollover_ = nullptr;
};

} // namespace korvel

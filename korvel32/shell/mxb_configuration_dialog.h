// "Mx+B Configuration": the factor M and offset B that scale the selected
// channels' readings, typed or calculated from two points.
#pragma once

#include "setup/mxb_configuration_rules.h"
#include "shell/model_dialog.h"

namespace korvel {

class MxbConfigurationDialog : public ModelDialog {
    Q_OBJECT
public:
    MxbConfigurationDialog(MxbConfigurationModel model, UserInterface &ui, QWidget *parent);

    const MxbConfigurationModel &model() const { return model_; }
    QLineEdit &factor() const { return *factor_; }
    QLineEdit &offset() const { return *offset_; }
    QPushButton &calculateButton() const { return *calculate_; }

private:
    void showModel() override;
    void tryAccept() override;
    void calculate();

    MxbConfigurationModel model_;
    ControlWidgets<MxbControl> controls_;
    QLineEdit *factor_;
    QLineEdit *offset_;
    QPushButton *calculate_;
};

} // namespace korvel

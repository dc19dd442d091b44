// "Function Selection": the function and range of the selected analog
// channels with their RTD, shunt, thermocouple and units settings.
#pragma once

#include "setup/function_selection_rules.h"
#include "shell/model_dialog.h"

class QCheckBox;

namespace korvel {

class FunctionSelectionDialog : public ModelDialog {
    Q_OBJECT
public:
    FunctionSelectionDialog(FunctionSelectionModel model, UserInterface &ui, QWidget *parent);

    const FunctionSelectionModel &model() const { return model_; }
    QWidget *control(FunctionControl control) const { return controls_.widget(control); }

private:
    void showModel() override;
    void tryAccept() override;

    FunctionSelectionModel model_;
    ControlWidgets<FunctionControl> controls_;
    QListWidget *functions_;
    QListWidget *ranges_;
    QLineEdit *r0_;
    QLineEdit *alpha_;
    QLineEdit *shunt_;
    QCheckBox *openTcDetect_;
    QLineEdit *unitsLabel_;
};

} // namespace korvel

// "Computed Function": the function of the selected computed channels, the
// channels it reads (Chan A, Chan B, the group to average) or its equation,
// and its units label.
#pragma once

#include "link/instrument_link.h"
#include "setup/computed_function_model.h"
#include "shell/model_dialog.h"

namespace korvel {

class ComputedFunctionDialog : public ModelDialog {
    Q_OBJECT
public:
    ComputedFunctionDialog(ComputedFunctionModel model, InstrumentLink &link, UserInterface &ui, QWidget *parent);

    const ComputedFunctionModel &model() const { return model_; }
    QWidget *control(ComputedFunctionControl control) const { return controls_.widget(control); }

private:
    void showModel() override;
    void tryAccept() override;

    ComputedFunctionModel model_;
    InstrumentLink &link_; // compiles the equation
    ControlWidgets<ComputedFunctionControl> controls_;
    QListWidget *functions_;
    QComboBox *channelA_;
    QComboBox *channelB_;
    QListWidget *groupAverage_;
    QLineEdit *equation_;
    QLineEdit *unitsLabel_;
};

} // namespace korvel

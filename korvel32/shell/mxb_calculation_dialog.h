// "Mx+B Calculation": M and B worked out from an input range and the scaled
// range it stands for.
#pragma once

#include "setup/mxb_configuration_rules.h"
#include "shell/model_dialog.h"

#include <array>

namespace korvel {

class MxbCalculationDialog : public ModelDialog {
    Q_OBJECT
public:
    MxbCalculationDialog(MxbCalculationModel model, UserInterface &ui, QWidget *parent);

    const MxbCalculationModel &model() const { return model_; }
    QLineEdit &field(MxbCalculationControl control) const { return *fields_[static_cast<std::size_t>(control)]; }

private:
    void showModel() override;
    void tryAccept() override;

    MxbCalculationModel model_;
    ControlWidgets<MxbCalculationControl> controls_;
    std::array<QLineEdit *, 4> fields_{}; // in control order
};

} // namespace korvel

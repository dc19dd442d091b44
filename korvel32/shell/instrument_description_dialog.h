// "Instrument Description": one line describing the selected instrument.
#pragma once

#include "setup/instrument_description_rules.h"
#include "shell/model_dialog.h"

namespace korvel {

class InstrumentDescriptionDialog : public ModelDialog {
    Q_OBJECT
public:
    InstrumentDescriptionDialog(InstrumentDescriptionModel model, UserInterface &ui, QWidget *parent);

    const InstrumentDescriptionModel &model() const { return model_; }
    QLineEdit &field() const { return *field_; }

private:
    void showModel() override;

    InstrumentDescriptionModel model_;
    QLineEdit *field_;
};

} // namespace korvel

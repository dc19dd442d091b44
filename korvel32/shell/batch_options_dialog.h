// "Batch Options": the batch name of a Trend Link data file and what makes a
// batch: the whole logging session, a DIO line held low, or a periodic
// interval that may begin at a time of day.
#pragma once

#include "setup/batch_options_rules.h"
#include "shell/model_dialog.h"

#include <map>

class QCheckBox;
class QRadioButton;

namespace korvel {

class BatchOptionsDialog : public ModelDialog {
    Q_OBJECT
public:
    BatchOptionsDialog(BatchOptionsModel model, UserInterface &ui, QWidget *parent);

    const BatchOptionsModel &model() const { return model_; }
    QRadioButton &definitionButton(BatchDefinition definition) const { return *definitions_.at(definition); }
    QLineEdit &field(BatchControl field) const { return *fields_.at(field); }
    QComboBox &dioList() const { return *dio_; }
    QCheckBox &startAtTimeBox() const { return *startAtTime_; }

private:
    QLineEdit *field(BatchControl control, std::size_t limit, QWidget *parent);
    void showModel() override;
    void tryAccept() override { acceptUnless(model_.accept(), controls_); }

    BatchOptionsModel model_;
    ControlWidgets<BatchControl> controls_;
    std::map<BatchDefinition, QRadioButton *> definitions_;
    std::map<BatchControl, QLineEdit *> fields_;
    QComboBox *dio_ = nullptr;
    QCheckBox *startAtTime_ = nullptr;
};

} // namespace korvel

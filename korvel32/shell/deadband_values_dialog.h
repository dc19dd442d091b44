// "Deadband Values": the Trend Link deadband of each defined channel, set
// for the selected channels with Apply Value.
#pragma once

#include "setup/deadband_rules.h"
#include "shell/model_dialog.h"

namespace korvel {

class DeadbandValuesDialog : public ModelDialog {
    Q_OBJECT
public:
    DeadbandValuesDialog(DeadbandValuesModel model, UserInterface &ui, QWidget *parent);

    const DeadbandValuesModel &model() const { return model_; }
    QListWidget &channelList() const { return *channels_; }
    QLineEdit &valueField() const { return *value_; }
    QPushButton &applyButton() const { return *apply_; }

private:
    void showModel() override;

    DeadbandValuesModel model_;
    ControlWidgets<DeadbandControl> controls_;
    QListWidget *channels_;
    QLineEdit *value_;
    QPushButton *apply_;
};

} // namespace korvel

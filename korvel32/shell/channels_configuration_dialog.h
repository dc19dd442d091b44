// "Channels Configuration": the analog and the computed channels of the
// working copy in two lists that select exclusively, the label of the
// selected channels, and the lower dialogs that set their function, scaling
// and alarms.
#pragma once

#include "link/instrument_link.h"
#include "setup/channels_configuration_rules.h"
#include "shell/model_dialog.h"

namespace korvel {

class ChannelsConfigurationDialog : public ModelDialog {
    Q_OBJECT
public:
    ChannelsConfigurationDialog(ChannelsConfigurationModel model, InstrumentLink &link, UserInterface &ui,
                                QWidget *parent);

    const ChannelsConfigurationModel &model() const { return model_; }
    QListWidget &analogList() const { return *analog_; }
    QListWidget &computedList() const { return *computed_; }
    QLineEdit &labelField() const { return *label_; }
    QPushButton &button(ChannelsControl control) const;

private:
    void showModel() override;
    void tryAccept() override;
    void chooseFunction();
    void scale();
    void setAlarms();
    // A refusal about one computed channel selects it.
    void refuseComputed(const ComputedChannelRefusal &refusal);

    ChannelsConfigurationModel model_;
    InstrumentLink &link_;
    ControlWidgets<ChannelsControl> controls_;
    QListWidget *analog_;
    QListWidget *computed_;
    QLineEdit *label_;
    QPushButton *applyLabel_;
    QPushButton *function_;
    QPushButton *mxb_;
    QPushButton *alarms_;
};

} // namespace korvel

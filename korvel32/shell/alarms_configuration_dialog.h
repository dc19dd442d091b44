// "Alarms Configuration": the two alarms of the selected channels, each a
// sense, a value and a digital output, and whether an alarm triggers a scan.
#pragma once

#include "setup/alarms_rules.h"
#include "shell/model_dialog.h"

#include <array>

class QCheckBox;

namespace korvel {

class AlarmsConfigurationDialog : public ModelDialog {
    Q_OBJECT
public:
    AlarmsConfigurationDialog(AlarmsConfigurationModel model, UserInterface &ui, QWidget *parent);

    const AlarmsConfigurationModel &model() const { return model_; }
    QWidget *control(AlarmsControl control) const { return controls_.widget(control); }

private:
    // The controls of alarm 1 or 2.
    struct AlarmControls {
        QComboBox *sense = nullptr;
        QLineEdit *value = nullptr;
        QComboBox *output = nullptr;
    };
    QWidget *alarmGroup(int alarm);
    void showModel() override;
    void tryAccept() override { acceptUnless(model_.accept(), controls_); }

    AlarmsConfigurationModel model_;
    ControlWidgets<AlarmsControl> controls_;
    std::array<AlarmControls, 2> alarms_;
    QCheckBox *alarmTrigger_ = nullptr;
};

} // namespace korvel

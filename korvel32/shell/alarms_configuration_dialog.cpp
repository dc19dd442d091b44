#include "shell/alarms_configuration_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace korvel {

namespace {

// Each alarm's sense, value and output, in the order of AlarmsControl.
constexpr std::array<std::array<AlarmsControl, 3>, 2> kAlarmControls{{
    {AlarmsControl::Sense1, AlarmsControl::Value1, AlarmsControl::Output1},
    {AlarmsControl::Sense2, AlarmsControl::Value2, AlarmsControl::Output2},
}};

} // namespace

AlarmsConfigurationDialog::AlarmsConfigurationDialog(AlarmsConfigurationModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)) {
    setWindowTitle(qText(model_.caption()));
    auto *groups = new QHBoxLayout;
    groups->addWidget(alarmGroup(1));
    groups->addWidget(alarmGroup(2));
    alarmTrigger_ = new QCheckBox(QStringLiteral("Use Channel as Alarm &Trigger"), this);
    controls_.bind(AlarmsControl::AlarmTrigger, {alarmTrigger_});
    bindCheck(alarmTrigger_, [this](bool on) { model_.setAlarmTrigger(on); });
    auto *controls = new QVBoxLayout;
    controls->addLayout(groups);
    controls->addWidget(alarmTrigger_);
    layOut(controls);
    refresh();
}

QWidget *AlarmsConfigurationDialog::alarmGroup(int alarm) {
    const auto &[senseControl, valueControl, outputControl] = kAlarmControls[static_cast<std::size_t>(alarm - 1)];
    auto *box = new QGroupBox(QStringLiteral("Alarm %1").arg(alarm), this);
    AlarmControls &controls = alarms_[static_cast<std::size_t>(alarm - 1)];
    controls.sense = new QComboBox(box);
    controls.value = new QLineEdit(box);
    controls.output = new QComboBox(box);
    fillList(*controls.sense, AlarmsConfigurationModel::senseItems());
    fillList(*controls.output, AlarmsConfigurationModel::outputItems());
    auto *form = new QFormLayout(box);
    const auto row = [box, form](const QString &text, QWidget *field) {
        auto *label = new QLabel(text, box);
        label->setBuddy(field);
        form->addRow(label, field);
        return label;
    };
    // The shortcuts differ between the two alarms: 1, 2 for the senses and so on.
    const QString digit = QString::number(alarm);
    controls_.bind(senseControl, {controls.sense, row(QStringLiteral("Sense &%1:").arg(digit), controls.sense)});
    controls_.bind(valueControl, {controls.value, row(QStringLiteral("Value:"), controls.value)});
    controls_.bind(outputControl, {controls.output, row(QStringLiteral("Output:"), controls.output)});
    bindIndex(controls.sense, [this, alarm](int index) { model_.chooseSense(alarm, index); });
    bindText(controls.value, [this, alarm](std::string text) { model_.setValueText(alarm, std::move(text)); });
    bindIndex(controls.output, [this, alarm](int index) { model_.chooseOutput(alarm, index); });
    return box;
}

void AlarmsConfigurationDialog::showModel() {
    for (int alarm = 1; alarm <= 2; ++alarm) {
        const AlarmControls &controls = alarms_[static_cast<std::size_t>(alarm - 1)];
        controls.sense->setCurrentIndex(model_.senseIndex(alarm));
        showText(*controls.value, model_.valueText(alarm));
        controls.output->setCurrentIndex(model_.outputIndex(alarm));
    }
    alarmTrigger_->setChecked(model_.alarmTrigger());
    controls_.showEnabled(model_);
}

} // namespace korvel

#include "shell/instrument_configuration_dialog.h"

#include "setup/dialog_text_limits.h"
#include "setup/setup_template.h"
#include "shell/channels_configuration_dialog.h"
#include "shell/data_file_configuration_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kIntervalCharacters = 12;
constexpr int kDurationCharacters = 5;
constexpr std::size_t kIntervalLimit = 20;

} // namespace

InstrumentConfigurationDialog::InstrumentConfigurationDialog(InstrumentConfigurationModel model,
                                                             const InstrumentTable &table, int slot,
                                                             InstrumentLink &link, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), table_(table), slot_(slot), link_(link) {
    setWindowTitle(qText(model_.caption()));
    auto *columns = new QHBoxLayout;
    columns->addWidget(scanGroup());
    columns->addWidget(instrumentGroup());
    QPushButton *channels = commandButton(QStringLiteral("C&hannels..."));
    QPushButton *dataFile = commandButton(QStringLiteral("&Data File..."));
    controls_.bind(InstrumentControl::Channels, {channels});
    controls_.bind(InstrumentControl::DataFile, {dataFile});
    bindClick(channels, [this] { configureChannels(); });
    bindClick(dataFile, [this] { configureDataFile(); });
    layOut(columns, {channels, dataFile});
    refresh();
}

// Triggers, intervals, reading rate and duration: what a Slave takes from its Master.
QWidget *InstrumentConfigurationDialog::scanGroup() {
    using enum InstrumentControl;
    auto *group = new QGroupBox(QStringLiteral("Scanning"), this);
    auto *form = new QFormLayout(group);
    auto *triggers = new QHBoxLayout;
    triggers->addWidget(checkBox(IntervalTrigger, "I&nterval", group));
    triggers->addWidget(checkBox(ExternalTrigger, "E&xternal", group));
    triggers->addWidget(checkBox(AlarmTrigger, "Ala&rm", group));
    triggers->addStretch();
    form->addRow(QStringLiteral("Trigger Type:"), triggers);
    const auto row = [this, form, group](const char *text, InstrumentControl control, QWidget *field) {
        auto *label = new QLabel(QString::fromUtf8(text), group);
        label->setBuddy(field);
        form->addRow(label, field);
        controls_.bind(control, {field, label});
    };
    row("Interval &1 (sec):", Interval1, textField(Interval1, kIntervalLimit, group));
    row("Interval &2 (sec):", Interval2, textField(Interval2, kIntervalLimit, group));
    readingRate_ = new QComboBox(group);
    fillList(*readingRate_, InstrumentConfigurationModel::readingRateItems());
    bindIndex(readingRate_, [this](int index) { model_.chooseReadingRate(index); });
    row("Reading R&ate:", ReadingRate, readingRate_);
    form->addRow(checkBox(DriftCorrection, "Dri&ft Correction", group));
    form->addRow(checkBox(TriggerOut, "Tri&gger Out", group));
    form->addRow(checkBox(StopScanning, "&Stop Scanning after Duration", group));
    auto *duration = new QHBoxLayout;
    duration->addWidget(textField(DurationHours, text_limit::kDurationHours, group));
    duration->addWidget(new QLabel(QStringLiteral(":"), group));
    duration->addWidget(textField(DurationMinutes, text_limit::kDurationMinutes, group));
    duration->addWidget(new QLabel(QStringLiteral(":"), group));
    duration->addWidget(textField(DurationSeconds, text_limit::kDurationSeconds, group));
    duration->addStretch();
    auto *durationLabel = new QLabel(QStringLiteral("Duration (h:m:s):"), group);
    form->addRow(durationLabel, duration);
    for (const InstrumentControl control : {DurationHours, DurationMinutes, DurationSeconds}) {
        QLineEdit *field = fields_.at(control);
        field->setMaximumWidth(field->fontMetrics().averageCharWidth() * kDurationCharacters);
        controls_.bind(control, {field, durationLabel});
    }
    for (const InstrumentControl control : {Interval1, Interval2}) {
        QLineEdit *field = fields_.at(control);
        field->setMaximumWidth(field->fontMetrics().averageCharWidth() * kIntervalCharacters);
    }
    return group;
}

// The instrument's own settings, which a Slave keeps too.
QWidget *InstrumentConfigurationDialog::instrumentGroup() {
    auto *group = new QGroupBox(QStringLiteral("Instrument"), this);
    auto *layout = new QVBoxLayout(group);
    auto *units = new QGroupBox(QStringLiteral("Temperature Units"), group);
    auto *unitsLayout = new QHBoxLayout(units);
    auto *unitsGroup = new QButtonGroup(this);
    for (const auto &[choice, text] :
         {std::pair{TemperatureUnits::Celsius, "&Celsius"}, std::pair{TemperatureUnits::Fahrenheit, "Fahrenhei&t"}}) {
        auto *button = new QRadioButton(QString::fromUtf8(text), units);
        unitsGroup->addButton(button);
        unitsLayout->addWidget(button);
        units_[choice] = button;
        bindChoice(button, [this, choice] { model_.setTemperatureUnits(choice); });
    }
    controls_.bind(InstrumentControl::TemperatureUnits,
                   {units_.at(TemperatureUnits::Celsius), units_.at(TemperatureUnits::Fahrenheit)});
    layout->addWidget(units);
    layout->addWidget(checkBox(InstrumentControl::TotalizerDebounce, "Totalizer De&bounce", group));
    monitor_ = new QComboBox(group);
    fillList(*monitor_, model_.monitorItems());
    bindIndex(monitor_, [this](int channel) { model_.chooseMonitorChannel(channel); });
    auto *monitorLabel = new QLabel(QStringLiteral("&Monitor Channel:"), group);
    monitorLabel->setBuddy(monitor_);
    auto *monitor = new QHBoxLayout;
    monitor->addWidget(monitorLabel);
    monitor->addWidget(monitor_);
    monitor->addStretch();
    layout->addLayout(monitor);
    layout->addStretch();
    controls_.bind(InstrumentControl::MonitorChannel, {monitor_, monitorLabel});
    return group;
}

QCheckBox *InstrumentConfigurationDialog::checkBox(InstrumentControl control, const char *text, QWidget *parent) {
    auto *box = new QCheckBox(QString::fromUtf8(text), parent);
    boxes_[control] = box;
    controls_.bind(control, {box});
    bindCheck(box, [this, control](bool on) {
        TriggerParts triggers = model_.triggers();
        switch (control) {
            case InstrumentControl::IntervalTrigger: triggers.interval = on; break;
            case InstrumentControl::ExternalTrigger: triggers.external = on; break;
            case InstrumentControl::AlarmTrigger: triggers.alarm = on; break;
            case InstrumentControl::TotalizerDebounce: model_.setTotalizerDebounce(on); return;
            case InstrumentControl::DriftCorrection: model_.setDriftCorrection(on); return;
            case InstrumentControl::TriggerOut: model_.setTriggerOut(on); return;
            case InstrumentControl::StopScanning: model_.setStopScanning(on); return;
            default: return;
        }
        model_.setTriggers(triggers);
    });
    return box;
}

QLineEdit *InstrumentConfigurationDialog::textField(InstrumentControl control, std::size_t limit, QWidget *parent) {
    QLineEdit *field = limitedField(limit, parent);
    fields_[control] = field;
    bindText(field, [this, control](std::string text) { model_.setText(control, std::move(text)); });
    return field;
}

void InstrumentConfigurationDialog::showModel() {
    using enum InstrumentControl;
    units_.at(model_.temperatureUnits())->setChecked(true);
    const TriggerParts triggers = model_.triggers();
    const std::map<InstrumentControl, bool> checked{
        {IntervalTrigger, triggers.interval},
        {ExternalTrigger, triggers.external},
        {AlarmTrigger, triggers.alarm},
        {TotalizerDebounce, model_.totalizerDebounce()},
        {DriftCorrection, model_.driftCorrection()},
        {TriggerOut, model_.triggerOut()},
        {StopScanning, model_.stopScanning()},
    };
    for (const auto &[control, on] : checked) boxes_.at(control)->setChecked(on);
    for (const auto &[control, field] : fields_) showText(*field, model_.text(control));
    monitor_->setCurrentIndex(model_.monitorChannel());
    readingRate_->setCurrentIndex(model_.readingRateIndex());
    controls_.showEnabled(model_);
}

void InstrumentConfigurationDialog::configureChannels() {
    ChannelsConfigurationDialog dialog(model_.channels(table_.setupTemplate().offChannel), link_, ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.acceptChannels(dialog.model());
}

void InstrumentConfigurationDialog::configureDataFile() {
    DataFileConfigurationDialog dialog(model_.dataFile(table_, slot_), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.acceptDataFile(dialog.model());
}

void InstrumentConfigurationDialog::reject() {
    if (model_.mayCancel(ui())) QDialog::reject();
}

} // namespace korvel

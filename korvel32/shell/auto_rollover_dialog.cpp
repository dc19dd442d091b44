#include "shell/auto_rollover_dialog.h"

#include "setup/dialog_text_limits.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kValueCharacters = 10;

struct ModeRow {
    RolloverMode mode;
    const char *button;
    RolloverControl field; // Mode for none
    const char *unit;
};

constexpr ModeRow kModeRows[] = {
    {RolloverMode::None, "&None", RolloverControl::Mode, ""},
    {RolloverMode::FileSize, "File &Size:", RolloverControl::FileSize, "k bytes"},
    {RolloverMode::TimeInterval, "&Time Interval:", RolloverControl::TimeInterval, "hours"},
    {RolloverMode::HourOfDay, "&Hour of Day:", RolloverControl::HourOfDay, "(0 - 23)"},
};

} // namespace

AutoRolloverDialog::AutoRolloverDialog(AutoRolloverModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)) {
    setWindowTitle(qText(model_.caption()));
    const auto valueField = [this](RolloverControl control, QWidget *box) {
        QLineEdit *field = limitedField(text_limit::kRolloverValue, box);
        field->setMaximumWidth(field->fontMetrics().averageCharWidth() * kValueCharacters);
        fields_[control] = field;
        bindText(field, [this, control](std::string text) { model_.setText(control, std::move(text)); });
        return field;
    };

    auto *rollover = new QGroupBox(QStringLiteral("Rollover"), this);
    auto *modes = new QGridLayout(rollover);
    auto *modeGroup = new QButtonGroup(this);
    int row = 0;
    for (const ModeRow &entry : kModeRows) {
        auto *button = new QRadioButton(QString::fromUtf8(entry.button), rollover);
        modeGroup->addButton(button);
        modes_[entry.mode] = button;
        modes->addWidget(button, row, 0);
        bindChoice(button, [this, mode = entry.mode] { model_.chooseMode(mode); });
        if (entry.field != RolloverControl::Mode) {
            QLineEdit *field = valueField(entry.field, rollover);
            auto *unit = new QLabel(QString::fromUtf8(entry.unit), rollover);
            modes->addWidget(field, row, 1);
            modes->addWidget(unit, row, 2);
            controls_.bind(entry.field, {field, unit});
        }
        ++row;
    }
    modes->setColumnStretch(2, 1);
    controls_.bind(RolloverControl::Mode, {modes_.at(RolloverMode::None)});

    auto *lowDisk = new QGroupBox(QStringLiteral("Low Disk Space"), this);
    auto *disk = new QGridLayout(lowDisk);
    auto *freeLabel = new QLabel(QStringLiteral("Min. &Free Disk Space:"), lowDisk);
    QLineEdit *freeSpace = valueField(RolloverControl::FreeDiskSpace, lowDisk);
    freeLabel->setBuddy(freeSpace);
    disk->addWidget(freeLabel, 0, 0);
    disk->addWidget(freeSpace, 0, 1);
    disk->addWidget(new QLabel(QStringLiteral("k bytes"), lowDisk), 0, 2);
    performRollover_ = new QRadioButton(QStringLiteral("&Perform Rollover"), lowDisk);
    stopLogging_ = new QRadioButton(QStringLiteral("Stop &Logging"), lowDisk);
    disk->addWidget(performRollover_, 1, 0);
    disk->addWidget(stopLogging_, 2, 0);
    disk->setColumnStretch(2, 1);
    controls_.bind(RolloverControl::FreeDiskSpace, {freeSpace, freeLabel});
    controls_.bind(RolloverControl::LowDiskAction, {performRollover_});
    bindChoice(performRollover_, [this] { model_.setStopLogging(false); });
    bindChoice(stopLogging_, [this] { model_.setStopLogging(true); });

    auto *controls = new QVBoxLayout;
    controls->addWidget(rollover);
    controls->addWidget(lowDisk);
    layOut(controls);
    refresh();
}

void AutoRolloverDialog::showModel() {
    modes_.at(model_.mode())->setChecked(true);
    for (const auto &[control, field] : fields_) showText(*field, model_.text(control));
    (model_.stopLogging() ? stopLogging_ : performRollover_)->setChecked(true);
    controls_.showEnabled(model_);
}

} // namespace korvel

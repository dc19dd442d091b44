#include "shell/batch_options_dialog.h"

#include "setup/dialog_text_limits.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kTimeFieldCharacters = 5;

} // namespace

BatchOptionsDialog::BatchOptionsDialog(BatchOptionsModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)) {
    setWindowTitle(qText(model_.caption()));
    using enum BatchControl;
    auto *nameLabel = new QLabel(QStringLiteral("Batch &Name:"), this);
    QLineEdit *name = field(Name, text_limit::kBatchName, this);
    nameLabel->setBuddy(name);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(name, 1);
    controls_.bind(Name, {name, nameLabel});

    auto *box = new QGroupBox(QStringLiteral("Batch Definition"), this);
    auto *grid = new QGridLayout(box);
    auto *group = new QButtonGroup(this);
    const auto choice = [this, box, group](BatchDefinition definition, const char *text) {
        auto *button = new QRadioButton(QString::fromUtf8(text), box);
        group->addButton(button);
        definitions_[definition] = button;
        bindChoice(button, [this, definition] { model_.chooseDefinition(definition); });
        return button;
    };
    // Hours and minutes side by side: "[hh] hours [mm] minutes" or "[hh] : [mm]".
    const auto hoursAndMinutes = [this, box](BatchControl hours, BatchControl minutes, const char *between,
                                             const char *after) {
        auto *row = new QHBoxLayout;
        QLineEdit *hoursField = field(hours, text_limit::kBatchHours, box);
        QLineEdit *minutesField = field(minutes, text_limit::kBatchMinutes, box);
        auto *betweenLabel = new QLabel(QString::fromUtf8(between), box);
        auto *afterLabel = new QLabel(QString::fromUtf8(after), box);
        row->addWidget(hoursField);
        row->addWidget(betweenLabel);
        row->addWidget(minutesField);
        row->addWidget(afterLabel);
        row->addStretch();
        controls_.bind(hours, {hoursField, betweenLabel});
        controls_.bind(minutes, {minutesField, afterLabel});
        return row;
    };
    grid->addWidget(choice(BatchDefinition::Session, "&Entire Logging Session"), 0, 0, 1, 2);
    grid->addWidget(choice(BatchDefinition::DioLow, "Period while &DIO Line is Low:"), 1, 0);
    dio_ = new QComboBox(box);
    fillList(*dio_, BatchOptionsModel::dioItems());
    grid->addWidget(dio_, 1, 1, Qt::AlignLeft);
    controls_.bind(DioLine, {dio_});
    bindIndex(dio_, [this](int line) { model_.chooseDioLine(line); });
    grid->addWidget(choice(BatchDefinition::Periodic, "&Periodic Interval:"), 2, 0);
    grid->addLayout(hoursAndMinutes(PeriodHours, PeriodMinutes, "hours", "minutes"), 2, 1);
    startAtTime_ = new QCheckBox(QStringLiteral("Begin First Interval &at:"), box);
    grid->addWidget(startAtTime_, 3, 0, Qt::AlignRight);
    grid->addLayout(hoursAndMinutes(StartHours, StartMinutes, ":", "(time of day)"), 3, 1);
    controls_.bind(StartAtTime, {startAtTime_});
    bindCheck(startAtTime_, [this](bool on) { model_.setStartAtTime(on); });

    auto *controls = new QVBoxLayout;
    controls->addLayout(nameRow);
    controls->addWidget(box);
    layOut(controls);
    refresh();
}

QLineEdit *BatchOptionsDialog::field(BatchControl control, std::size_t limit, QWidget *parent) {
    QLineEdit *shown = limitedField(limit, parent);
    if (control != BatchControl::Name)
        shown->setMaximumWidth(shown->fontMetrics().averageCharWidth() * kTimeFieldCharacters);
    fields_[control] = shown;
    bindText(shown, [this, control](std::string text) { model_.setText(control, std::move(text)); });
    return shown;
}

void BatchOptionsDialog::showModel() {
    definitions_.at(model_.definition())->setChecked(true);
    dio_->setCurrentIndex(model_.dioLine());
    for (const auto &[control, shown] : fields_) showText(*shown, model_.text(control));
    startAtTime_->setChecked(model_.startAtTime());
    controls_.showEnabled(model_);
}

} // namespace korvel

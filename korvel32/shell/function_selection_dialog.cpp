#include "shell/function_selection_dialog.h"

#include "setup/dialog_text_limits.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kNumberFieldCharacters = 12;

QLineEdit *numberField(QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setMaximumWidth(field->fontMetrics().averageCharWidth() * kNumberFieldCharacters);
    return field;
}

} // namespace

FunctionSelectionDialog::FunctionSelectionDialog(FunctionSelectionModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), functions_(new QListWidget(this)),
          ranges_(new QListWidget(this)), r0_(numberField(this)), alpha_(numberField(this)), shunt_(numberField(this)),
          openTcDetect_(new QCheckBox(QStringLiteral("&Open Thermocouple Detect"), this)),
          unitsLabel_(limitedField(text_limit::kUnitsLabel, this)) {
    setWindowTitle(qText(model_.caption()));
    unitsLabel_->setMaximumWidth(r0_->maximumWidth());
    fillList(*functions_, model_.functionItems());
    auto *functionLabel = new QLabel(QStringLiteral("&Function:"), this);
    auto *rangeLabel = new QLabel(QStringLiteral("&Range:"), this);
    functionLabel->setBuddy(functions_);
    rangeLabel->setBuddy(ranges_);
    auto *lists = new QGridLayout;
    lists->addWidget(functionLabel, 0, 0);
    lists->addWidget(rangeLabel, 0, 1);
    lists->addWidget(functions_, 1, 0);
    lists->addWidget(ranges_, 1, 1);

    auto *fields = new QFormLayout;
    const auto row = [this, fields](const char *text, QWidget *field) {
        auto *label = new QLabel(QString::fromUtf8(text), this);
        label->setBuddy(field);
        fields->addRow(label, field);
        return label;
    };
    controls_.bind(FunctionControl::Function, {functions_, functionLabel});
    controls_.bind(FunctionControl::Range, {ranges_, rangeLabel});
    controls_.bind(FunctionControl::R0, {r0_, row("RTD R&0 (Ohms):", r0_)});
    controls_.bind(FunctionControl::Alpha, {alpha_, row("RTD &Alpha:", alpha_)});
    controls_.bind(FunctionControl::Shunt, {shunt_, row("&Shunt Resistance (Ohms):", shunt_)});
    fields->addRow(openTcDetect_);
    controls_.bind(FunctionControl::OpenTcDetect, {openTcDetect_});
    controls_.bind(FunctionControl::UnitsLabel, {unitsLabel_, row("&Units Label:", unitsLabel_)});

    auto *controls = new QVBoxLayout;
    controls->addLayout(lists);
    controls->addLayout(fields);
    layOut(controls);

    bindSelection(functions_, [this](std::vector<int> rows) {
        if (!rows.empty()) model_.chooseFunction(rows.front());
    });
    bindSelection(ranges_, [this](std::vector<int> rows) {
        if (!rows.empty()) model_.chooseRange(rows.front());
    });
    bindText(r0_, [this](std::string text) { model_.setR0Text(std::move(text)); });
    bindText(alpha_, [this](std::string text) { model_.setAlphaText(std::move(text)); });
    bindText(shunt_, [this](std::string text) { model_.setShuntText(std::move(text)); });
    bindCheck(openTcDetect_, [this](bool on) { model_.setOpenTcDetect(on); });
    bindText(unitsLabel_, [this](std::string text) { model_.setUnitsLabel(std::move(text)); });
    refresh();
}

void FunctionSelectionDialog::showModel() {
    showRow(*functions_, model_.functionIndex());
    fillList(*ranges_, model_.rangeItems());
    showRow(*ranges_, model_.rangeIndex());
    showText(*r0_, model_.r0Text());
    showText(*alpha_, model_.alphaText());
    showText(*shunt_, model_.shuntText());
    openTcDetect_->setChecked(model_.openTcDetect());
    showText(*unitsLabel_, model_.unitsLabel());
    controls_.showEnabled(model_);
}

void FunctionSelectionDialog::tryAccept() { acceptUnless(model_.accept(), controls_); }

} // namespace korvel

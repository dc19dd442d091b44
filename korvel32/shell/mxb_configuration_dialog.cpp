#include "shell/mxb_configuration_dialog.h"

#include "shell/mxb_calculation_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

MxbConfigurationDialog::MxbConfigurationDialog(MxbConfigurationModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), factor_(new QLineEdit(this)), offset_(new QLineEdit(this)),
          calculate_(commandButton(QStringLiteral("&Calculate M, B from Range Values..."))) {
    setWindowTitle(qText(model_.caption()));
    auto *form = new QFormLayout;
    auto *factorLabel = new QLabel(QStringLiteral("&Factor (M):"), this);
    auto *offsetLabel = new QLabel(QStringLiteral("&Offset (B):"), this);
    factorLabel->setBuddy(factor_);
    offsetLabel->setBuddy(offset_);
    form->addRow(factorLabel, factor_);
    form->addRow(offsetLabel, offset_);
    controls_.bind(MxbControl::Factor, {factor_});
    controls_.bind(MxbControl::Offset, {offset_});
    auto *controls = new QVBoxLayout;
    controls->addLayout(form);
    controls->addWidget(calculate_);
    controls->addStretch();
    layOut(controls);

    bindText(factor_, [this](std::string text) { model_.setFactorText(std::move(text)); });
    bindText(offset_, [this](std::string text) { model_.setOffsetText(std::move(text)); });
    bindClick(calculate_, [this] { calculate(); });
    refresh();
}

void MxbConfigurationDialog::showModel() {
    showText(*factor_, model_.factorText());
    showText(*offset_, model_.offsetText());
}

void MxbConfigurationDialog::calculate() {
    MxbCalculationDialog dialog(model_.calculation(), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.acceptCalculation(dialog.model());
}

void MxbConfigurationDialog::tryAccept() { acceptUnless(model_.accept(), controls_); }

} // namespace korvel

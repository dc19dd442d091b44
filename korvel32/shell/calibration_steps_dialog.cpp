#include "shell/calibration_steps_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

CalibrationStepsDialog::CalibrationStepsDialog(CalibrationFunction function, CalibrationExchange &exchange,
                                               UserInterface &ui, char decimalSymbol, QWidget *parent)
        : QDialog(parent), steps_(function, exchange, ui, decimalSymbol), applyLine_(new QLabel(this)),
          actualValue_(new QLineEdit(this)), unit_(new QLabel(this)),
          perform_(new QPushButton(QStringLiteral("Perform Calibration Step"), this)),
          done_(new QPushButton(QStringLiteral("Done"), this)),
          cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    applyLine_->setObjectName(QStringLiteral("applyLine"));
    unit_->setObjectName(QStringLiteral("unit"));
    actualValue_->setMaxLength(CalibrationSteps::kActualValueLength);
    done_->setEnabled(false);
    perform_->setDefault(true);

    auto *values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Apply:"), this), 0, 0);
    values->addWidget(applyLine_, 0, 1, 1, 2);
    values->addWidget(new QLabel(QStringLiteral("Actual:"), this), 1, 0);
    values->addWidget(actualValue_, 1, 1);
    values->addWidget(unit_, 1, 2);
    values->setColumnMinimumWidth(2, 110);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(perform_);
    buttons->addStretch();
    buttons->addWidget(done_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(perform_, &QPushButton::clicked, this, &CalibrationStepsDialog::performStep);
    connect(done_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    steps_.onStepRunning([this](bool running) { setEnabled(!running); });
    setWindowTitle(QString::fromStdString(steps_.caption()));
}

bool CalibrationStepsDialog::begin() {
    if (!steps_.begin()) return false;
    refresh();
    return true;
}

void CalibrationStepsDialog::performStep() {
    steps_.performStep(actualValue_->text().toStdString());
    refresh();
}

void CalibrationStepsDialog::refresh() {
    applyLine_->setText(QString::fromStdString(steps_.applyText()));
    unit_->setText(QString::fromStdString(steps_.unitText()));
    actualValue_->setText(QString::fromStdString(steps_.actualText()));
    const bool complete = steps_.complete();
    done_->setEnabled(complete);
    cancel_->setEnabled(!complete);
    perform_->setEnabled(!complete);
    if (steps_.focus() == CalibrationSteps::Focus::Done) {
        done_->setDefault(true);
        done_->setFocus();
    } else {
        actualValue_->setFocus();
        actualValue_->selectAll();
    }
}

void runCalibrationSteps(CalibrationFunction function, CalibrationExchange &exchange, UserInterface &ui,
                         char decimalSymbol, QWidget *parent) {
    CalibrationStepsDialog dialog(function, exchange, ui, decimalSymbol, parent);
    if (dialog.begin()) dialog.exec();
}

} // namespace korvel

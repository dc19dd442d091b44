#include "shell/instrument_calibration_dialog.h"

#include "shell/calibration_steps_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {
namespace {

void fill(QComboBox &list, const std::vector<std::string> &names, int selected) {
    for (const std::string &name : names) list.addItem(QString::fromStdString(name));
    list.setCurrentIndex(selected);
}

} // namespace

InstrumentCalibrationDialog::InstrumentCalibrationDialog(CalibrationPortSettings &settings, UserInterface &ui,
                                                         char decimalSymbol, QWidget *parent,
                                                         CalibrationTimeLimits limits)
        : QDialog(parent), calibration_(settings, ui, limits), ui_(ui), decimalSymbol_(decimalSymbol),
          ports_(new QComboBox(this)), bauds_(new QComboBox(this)),
          close_(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QStringLiteral("Instrument Calibration"));
    fill(*ports_, calibrationPortNames(), settings.port);
    fill(*bauds_, calibrationBaudNames(), settings.baud);
    connect(ports_, &QComboBox::currentIndexChanged, this, [this](int index) { calibration_.selectPort(index); });
    connect(bauds_, &QComboBox::currentIndexChanged, this, [this](int index) { calibration_.selectBaud(index); });

    auto *port = new QGroupBox(QStringLiteral("RS232 Port"), this);
    auto *portLayout = new QFormLayout(port);
    portLayout->addRow(QStringLiteral("Port:"), ports_);
    portLayout->addRow(QStringLiteral("Baud Rate:"), bauds_);

    auto *functions = new QGroupBox(QStringLiteral("Calibrate"), this);
    auto *functionLayout = new QVBoxLayout(functions);
    for (const CalibrationFunction function : kCalibrationFunctions) {
        auto *button = new QPushButton(QString::fromLatin1(calibrationFunctionInfo(function).button), functions);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, function] { calibrate(function); });
        functionLayout->addWidget(button);
        functionButtons_[function] = button;
    }

    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    auto *groups = new QHBoxLayout;
    groups->addWidget(port);
    groups->addWidget(functions);
    layout->addLayout(groups);
    layout->addLayout(closeRow);
}

void InstrumentCalibrationDialog::calibrate(CalibrationFunction function) {
    calibration_.calibrate([this, function](CalibrationExchange &exchange) {
        runCalibrationSteps(function, exchange, ui_, decimalSymbol_, this);
    });
}

void InstrumentCalibrationDialog::done(int result) {
    setEnabled(false);
    calibration_.resetAfterCalibration();
    setEnabled(true);
    QDialog::done(result);
}

} // namespace korvel

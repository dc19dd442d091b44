// The two calibration dialogs on real windows against korvel-sim's
// calibration port: a whole calibration clicked through, what each control
// shows, the dialog disabled while the instrument performs a step, and the
// reset when the calibration dialog closes.
#include "scripted_user_interface.h"
#include "shell/calibration_steps_dialog.h"
#include "shell/instrument_calibration_dialog.h"
#include "shell/tests/window_probe.h"

#include <sim_process.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <memory>

using namespace korvel;

namespace {

// Lets Qt's events through while the exchange waits, as the windowed logger does.
class PumpingUserInterface : public ScriptedUserInterface {
public:
    void pumpEvents() override {
        ScriptedUserInterface::pumpEvents();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
};

using Lines = std::vector<std::string>;

} // namespace

class CalibrationDialogsTest : public QObject {
    Q_OBJECT

private:
    kvtest::TempDir snapshots;
    std::unique_ptr<kvtest::SimProcess> sim;
    std::unique_ptr<PumpingUserInterface> ui;
    SerialPort port;
    CalibrationPortSettings settings;

    void control(const std::string &line) { QCOMPARE(sim->control(line), std::string("ok")); }

    void snapshot(QWidget &window, const char *name) {
        QVERIFY2(test::saveSnapshot(window, snapshots.path().c_str(), QString::fromLatin1(name)), name);
    }

private slots:
    void init() {
        sim = std::make_unique<kvtest::SimProcess>(std::vector<std::string>{"--serial"});
        ui = std::make_unique<PumpingUserInterface>();
        control("serial step-time 0");
        ::setenv("KORVEL32_COM2", sim->serialPath().c_str(), 1);
        settings = CalibrationPortSettings{};
    }

    void cleanup() {
        port.close();
        sim.reset();
        ::unsetenv("KORVEL32_COM2");
    }

    void stepsDialogShowsTheReferenceAndSendsOnlyAChangedValue() {
        control("serial steps 3 999.5 2500000");
        QVERIFY(port.open(sim->serialPath(), 19200));
        CalibrationExchange exchange(port, *ui);
        CalibrationStepsDialog dialog(CalibrationFunction::Resistance, exchange, *ui, ',');
        QVERIFY(dialog.begin());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Calibration Steps - Resistance"));
        QCOMPARE(test::labelText(dialog, "applyLine"), QStringLiteral("999,5 Ohms"));
        QCOMPARE(test::labelText(dialog, "unit"), QStringLiteral("Ohms"));
        QCOMPARE(dialog.actualValue().text(), QStringLiteral("999,5"));
        QCOMPARE(dialog.actualValue().maxLength(), 20);
        QVERIFY(!dialog.doneButton().isEnabled());
        snapshot(dialog, "calibration_steps");

        dialog.performButton().click(); // unchanged
        QCOMPARE(test::labelText(dialog, "applyLine"), QStringLiteral("2,5 MOhms"));
        QCOMPARE(dialog.actualValue().text(), QStringLiteral("2,5"));
        dialog.actualValue().selectAll();
        QTest::keyClicks(&dialog.actualValue(), QStringLiteral("2,49"));
        dialog.performButton().click();
        QCOMPARE(sim->serialReceived(),
                 (Lines{"CAL 3", "CAL_REF?", "CAL_STEP?", "CAL?", "CAL_REF?", "CAL_REF 2490000", "CAL_STEP?", "CAL?"}));

        QVERIFY(dialog.doneButton().isEnabled());
        QVERIFY(dialog.doneButton().isDefault());
        QTRY_VERIFY(dialog.doneButton().hasFocus());
        QVERIFY(!dialog.cancelButton().isEnabled());
        QVERIFY(!dialog.performButton().isEnabled());
        snapshot(dialog, "calibration_steps_done");
        dialog.doneButton().click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(ui->messages().empty());
    }

    void stepsDialogIsDisabledWhileTheInstrumentPerformsAStep() {
        control("serial step-time 400");
        QVERIFY(port.open(sim->serialPath(), 19200));
        CalibrationExchange exchange(port, *ui);
        CalibrationStepsDialog dialog(CalibrationFunction::VoltsDc, exchange, *ui, '.');
        QVERIFY(dialog.begin());
        dialog.show();
        bool disabledMeanwhile = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, &dialog, [&] { disabledMeanwhile |= !dialog.isEnabled(); });
        watch.start(20);
        dialog.performButton().click();
        QVERIFY2(disabledMeanwhile, "the timer ran while the instrument measured");
        QVERIFY(dialog.isEnabled());
        QTRY_VERIFY(dialog.actualValue().hasFocus());
    }

    void stepsDialogRefusedByTheInstrumentIsNotShown() {
        control("serial enable 0");
        QVERIFY(port.open(sim->serialPath(), 19200));
        CalibrationExchange exchange(port, *ui);
        CalibrationStepsDialog dialog(CalibrationFunction::Frequency, exchange, *ui, '.');
        QVERIFY(!dialog.begin());
        QCOMPARE(ui->messageTexts(), Lines{"Calibration Mode not enabled!  See service manual."});
    }

    void calibrationDialogRunsAFunctionOverTheChosenPortAndResetsOnClose() {
        InstrumentCalibrationDialog dialog(settings, *ui, '.');
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Instrument Calibration"));
        QCOMPARE(dialog.portList().count(), 4);
        QCOMPARE(dialog.portList().currentText(), QStringLiteral("COM1"));
        QCOMPARE(dialog.baudList().currentText(), QStringLiteral("19.2K"));
        dialog.portList().setCurrentIndex(1);
        QCOMPARE(settings.port, 1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        snapshot(dialog, "instrument_calibration");

        QString caption;
        int performed = 0;
        test::whenModalOpens<CalibrationStepsDialog>([&](CalibrationStepsDialog &steps) {
            caption = steps.windowTitle();
            while (steps.performButton().isEnabled() && performed < 10) {
                steps.performButton().click();
                ++performed;
            }
            steps.doneButton().click();
        });
        dialog.functionButton(CalibrationFunction::VoltsAc).click();
        QCOMPARE(caption, QStringLiteral("Calibration Steps - Volts AC"));
        QCOMPARE(sim->serialState("left"), std::string("0"));
        QCOMPARE(performed, 3);

        dialog.closeButton().click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(sim->serialReceived().back(), std::string("*RST"));
        QCOMPARE(sim->serialState("resets"), std::string("1"));
        QVERIFY(ui->messages().empty());
    }

    void calibrationDialogTellsOfAPortThatCannotBeOpenedAndClosesWithoutReset() {
        settings.baud = 0;
        InstrumentCalibrationDialog dialog(settings, *ui, '.');
        QCOMPARE(dialog.baudList().currentText(), QStringLiteral("4800"));
        dialog.portList().setCurrentIndex(3); // COM4: /dev/ttyS3, or $KORVEL32_COM4
        ::setenv("KORVEL32_COM4", (snapshots.path() + "/no-such-line").c_str(), 1);
        dialog.functionButton(CalibrationFunction::VoltsDc).click();
        ::unsetenv("KORVEL32_COM4");
        QCOMPARE(ui->messageTexts(), Lines{"Unable to open RS232 port!"});
        dialog.reject();
        QVERIFY(sim->serialReceived().empty());
    }
};

QTEST_MAIN(CalibrationDialogsTest)
#include "calibration_dialogs_test.moc"

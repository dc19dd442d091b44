// The configuration dialogs as a user meets them: opened from the main
// window's commands on a setup in record form, filled in through their
// controls, refused where the rules refuse with the message and the focus
// on the offending control, and accepted into the setup that is saved.
#include "app/command_ids.h"
#include "scripted_user_interface.h"
#include "setup/bcn_lookup.h"
#include "setup/record_form_reader.h"
#include "setup/setup_file_io.h"
#include "setup/setup_template.h"
#include "shell/alarms_configuration_dialog.h"
#include "shell/auto_rollover_dialog.h"
#include "shell/batch_options_dialog.h"
#include "shell/channels_configuration_dialog.h"
#include "shell/computed_function_dialog.h"
#include "shell/config_view.h"
#include "shell/copy_channels_dialog.h"
#include "shell/data_file_configuration_dialog.h"
#include "shell/deadband_values_dialog.h"
#include "shell/function_selection_dialog.h"
#include "shell/group_instruments_dialog.h"
#include "shell/instrument_configuration_dialog.h"
#include "shell/instrument_description_dialog.h"
#include "shell/main_frame.h"
#include "shell/mxb_calculation_dialog.h"
#include "shell/mxb_configuration_dialog.h"
#include "shell/shell_application.h"
#include "shell/tests/window_probe.h"
#include "shell/tests/windowed_logger.h"

#include <ccf_file_writer.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

using namespace korvel;
using namespace korvel::command;

namespace {

constexpr unsigned kM100a = 12; // slot 1
constexpr unsigned kM200a = 34; // slot 2

// Closes the dialog when a check inside its handler failed and returned
// early, so that the command that opened it returns.
struct ClosedAtEnd {
    QDialog &dialog;
    ~ClosedAtEnd() {
        if (dialog.isVisible()) dialog.done(QDialog::Rejected);
    }
};

void typeInto(QLineEdit &field, const QString &text) {
    field.selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(&field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(&field, text);
    }
}

// Chooses the list's line with that text.
void chooseLine(QListWidget &list, const char *text) {
    const auto found = list.findItems(QString::fromUtf8(text), Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list.setCurrentItem(found.front());
}

QAbstractButton &button(QWidget *control) { return *qobject_cast<QAbstractButton *>(control); }

void selectRows(QListWidget &list, std::initializer_list<int> rows) {
    list.clearSelection();
    for (const int row : rows) list.item(row)->setSelected(true);
}

// Types the file name as a user does. The dialog has selected the file it
// started with, and a selection wins over a typed name, so it is cleared
// first; the name goes into the focused field as typing puts it there
// (selectFile() leaves that field alone while it has the focus).
void typeFileName(QFileDialog &dialog, const QString &path) {
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    auto *files = dialog.findChild<QListView *>(QStringLiteral("listView"));
    QVERIFY(name != nullptr && files != nullptr);
    files->clearSelection();
    name->setFocus();
    name->setText(path);
    QCOMPARE(dialog.selectedFiles().size(), 1);
    QVERIFY(dialog.selectedFiles().front().startsWith(path));
}

// A setup as the record-form file holds it, read back on its own.
struct SavedSetup {
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    SetupHost host;
    InstrumentLink link;

    explicit SavedSetup(const std::string &path) {
        const auto bytes = readSetupFile(path);
        SetupTarget target{table, options, plot, host, bcnResolver(link)};
        if (!bytes || !readRecordForm(*bytes, target).loaded()) table.removeAll();
    }
    const InstrumentSetup &setup(unsigned bcn) const { return *table.slot(table.find(bcn)).setup; }
};

} // namespace

class ConfigurationDialogsTest : public QObject, private test::WindowedLogger {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedUserInterface> ui;
    std::string setupPath;

    // Two instruments, one of each model, in a record-form setup.
    void launch() {
        std::ostringstream text;
        text << "[KorLogger]\r\nSimMode=No\r\n[Korvel1]\r\nBCN=" << kM100a << "\r\nC1=VDC,4,\r\nC1Label=Supply\r\n"
             << "C2=VDC,4,\r\nC2Label=Return\r\nC3=VDC,4,\r\nC3Label=Stack\r\nDataFileEnabled=Yes\r\nDataFile="
             << home.path() << "/first.csv\r\nFileFormat=ASCII\r\n"
             << "[Korvel2]\r\nBCN=" << kM200a << "\r\nC1=VDC,4,\r\nDataFileEnabled=Yes\r\nDataFile=" << home.path()
             << "/second.csv\r\nFileFormat=ASCII\r\n";
        const std::string textPath = home.path() + "/start.txt";
        std::ofstream(textPath, std::ios::binary) << text.str();
        ui = std::make_unique<ScriptedUserInterface>();
        QVERIFY(startWindow({"/S", textPath}, *ui));
        setupPath = home.path() + "/plant.stp";
        QVERIFY(application->document().save(setupPath));
        QVERIFY(frame->openSetupFile(setupPath));
        QCOMPARE(application->instruments().count(), 2);
        frame->selectInstrument(1);
    }

    void trigger(int id) {
        QVERIFY2(frame->action(id)->isEnabled(), qPrintable(QString::number(id)));
        frame->action(id)->trigger();
    }

    const InstrumentSetup &live(unsigned bcn) const {
        const InstrumentTable &table = application->instruments();
        return *table.slot(table.find(bcn)).setup;
    }

    // Saves the setup and reads the file back.
    std::unique_ptr<SavedSetup> saved() {
        trigger(kSaveSetup);
        return std::make_unique<SavedSetup>(setupPath);
    }

    std::string lastMessage() const { return ui->messages().empty() ? std::string() : ui->messages().back().text; }

    bool notified(ChildWindow window, int message, int wParam) const {
        for (const auto &told : ui->notifications()) {
            if (told.window == window && told.message == message && told.wParam == wParam) return true;
        }
        return false;
    }

    void snapshot(QWidget &dialog, const char *name) {
        QVERIFY(test::saveSnapshot(dialog, QString::fromStdString(home.path()), QString::fromLatin1(name)));
    }

    // Opens Instrument Configuration from the menu and hands it over.
    void withInstrumentConfiguration(const std::function<void(InstrumentConfigurationDialog &)> &handle) {
        bool handled = false;
        test::whenModalOpens<InstrumentConfigurationDialog>([&](InstrumentConfigurationDialog &dialog) {
            ClosedAtEnd closed{dialog};
            handle(dialog);
            handled = true;
        });
        trigger(kInstrumentConfiguration);
        QVERIFY(handled);
    }

    // Opens the lower dialog with its button and hands it over.
    template <typename Dialog>
    void withLowerDialog(QAbstractButton &button, const std::function<void(Dialog &)> &handle) {
        bool handled = false;
        test::whenModalOpens<Dialog>([&](Dialog &dialog) {
            ClosedAtEnd closed{dialog};
            handle(dialog);
            handled = true;
        });
        QVERIFY(button.isEnabled());
        button.click();
        QVERIFY(handled);
    }

    // The next file dialog, checked, chooses path.
    void chooseFileWhenAsked(const QString &path, const std::function<void(QFileDialog &)> &check = {}) {
        test::whenModalOpens<QFileDialog>([path, check](QFileDialog &dialog) {
            ClosedAtEnd closed{dialog};
            if (check) check(dialog);
            typeFileName(dialog, path);
            static_cast<QDialog &>(dialog).accept(); // as the dialog's own button does
        });
    }

    // Channel 4 a 4-20 mA loop scaled to 0..100 with an alarm, channel 3 a
    // 4-wire RTD, channel 21 an equation; one refusal in each lower dialog.
    void configureChannels(ChannelsConfigurationDialog &channels) {
        QCOMPARE(channels.windowTitle(), QStringLiteral("Channels Configuration - 12"));
        QListWidget &analog = channels.analogList();
        QListWidget &computed = channels.computedList();
        QCOMPARE(analog.item(0)->text(), QStringLiteral("1201 (Supply),  VDC  30 V"));
        QCOMPARE(computed.item(0)->text(), QStringLiteral("1221 (Label),  OFF"));
        QVERIFY(analog.item(0)->isSelected());

        selectRows(analog, {3});
        QPushButton &function = channels.button(ChannelsControl::Function);
        withLowerDialog<FunctionSelectionDialog>(function, [&](FunctionSelectionDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Function Selection - 12"));
            chooseLine(*qobject_cast<QListWidget *>(dialog.control(FunctionControl::Function)), "Current");
            auto &shunt = *qobject_cast<QLineEdit *>(dialog.control(FunctionControl::Shunt));
            QCOMPARE(shunt.text(), QStringLiteral("10"));
            QVERIFY(!dialog.control(FunctionControl::R0)->isEnabled());
            snapshot(dialog, "function_selection");
            typeInto(shunt, QStringLiteral("5"));
            dialog.okButton()->click();
            QCOMPARE(lastMessage(), std::string("Shunt Resistance value must range from 10 to 250 Ohms!"));
            QCOMPARE(dialog.focusWidget(), &shunt);
            typeInto(shunt, QStringLiteral("250"));
            dialog.okButton()->click();
        });
        QCOMPARE(analog.item(3)->text(), QStringLiteral("1204 (Label),  Current  4-20 mA"));

        selectRows(analog, {12});
        withLowerDialog<FunctionSelectionDialog>(function, [&](FunctionSelectionDialog &dialog) {
            chooseLine(*qobject_cast<QListWidget *>(dialog.control(FunctionControl::Function)), "Ohms-4W");
            dialog.okButton()->click();
        });
        QCOMPARE(lastMessage(), std::string("4W Measurements not allowed on Channels 11-20!"));
        QCOMPARE(channels.focusWidget(), &analog);
        selectRows(analog, {2, 12});
        withLowerDialog<FunctionSelectionDialog>(function, [&](FunctionSelectionDialog &dialog) {
            chooseLine(*qobject_cast<QListWidget *>(dialog.control(FunctionControl::Function)), "RTD-4W");
            dialog.okButton()->click();
        });
        QCOMPARE(analog.item(12)->text(), QStringLiteral("1213 (Label),  OFF (4W)  "));

        selectRows(analog, {3});
        withLowerDialog<MxbConfigurationDialog>(
            channels.button(ChannelsControl::Mxb), [&](MxbConfigurationDialog &mxb) {
                QCOMPARE(mxb.windowTitle(), QStringLiteral("Mx+B Configuration - 12"));
                QCOMPARE(mxb.focusWidget(), &mxb.factor());
                QVERIFY2(mxb.factor().selectedText() == mxb.factor().text(), "typing replaces the first field");
                withLowerDialog<MxbCalculationDialog>(mxb.calculateButton(), [&](MxbCalculationDialog &calculation) {
                    using enum MxbCalculationControl;
                    for (const auto &[control, text] : {std::pair{InputMinimum, "4"}, std::pair{InputMaximum, "4"},
                                                        std::pair{ScaledMinimum, "0"}, std::pair{ScaledMaximum, "100"}})
                        typeInto(calculation.field(control), QString::fromLatin1(text));
                    snapshot(calculation, "mxb_calculation");
                    calculation.okButton()->click();
                    QCOMPARE(lastMessage(),
                             std::string("Minimum and Maximum values for Input Range must be farther apart!"));
                    QCOMPARE(calculation.focusWidget(), &calculation.field(InputMinimum));
                    typeInto(calculation.field(InputMaximum), QStringLiteral("20"));
                    calculation.okButton()->click();
                });
                QCOMPARE(mxb.factor().text().toDouble(), 6.25);
                snapshot(mxb, "mxb_configuration");
                mxb.okButton()->click();
            });

        withLowerDialog<AlarmsConfigurationDialog>(
            channels.button(ChannelsControl::Alarms), [&](AlarmsConfigurationDialog &alarms) {
                QCOMPARE(alarms.windowTitle(), QStringLiteral("Alarms Configuration - 12"));
                auto &value = *qobject_cast<QLineEdit *>(alarms.control(AlarmsControl::Value1));
                QVERIFY(!value.isEnabled());
                QVERIFY(!alarms.control(AlarmsControl::AlarmTrigger)->isEnabled());
                qobject_cast<QComboBox *>(alarms.control(AlarmsControl::Sense1))->setCurrentIndex(2); // HI
                QVERIFY(value.isEnabled());
                QVERIFY(alarms.control(AlarmsControl::AlarmTrigger)->isEnabled());
                typeInto(value, QStringLiteral("2e10"));
                alarms.okButton()->click();
                QCOMPARE(lastMessage(), std::string("Invalid Alarm Value!"));
                QCOMPARE(alarms.focusWidget(), &value);
                typeInto(value, QStringLiteral("75"));
                qobject_cast<QComboBox *>(alarms.control(AlarmsControl::Output1))->setCurrentIndex(4); // DO3
                snapshot(alarms, "alarms_configuration");
                alarms.okButton()->click();
            });
        typeInto(channels.labelField(), QStringLiteral("Flow"));
        channels.button(ChannelsControl::ApplyLabel).click();
        QCOMPARE(analog.item(3)->text(), QStringLiteral("1204 (Flow),  Current  4-20 mA"));

        selectRows(computed, {0});
        QVERIFY(analog.selectedItems().isEmpty());
        withLowerDialog<ComputedFunctionDialog>(function, [&](ComputedFunctionDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Computed Function - 12"));
            chooseLine(*qobject_cast<QListWidget *>(dialog.control(ComputedFunctionControl::Function)), "Equation");
            auto &equation = *qobject_cast<QLineEdit *>(dialog.control(ComputedFunctionControl::Equation));
            QVERIFY(equation.isEnabled());
            QVERIFY(!dialog.control(ComputedFunctionControl::GroupAverage)->isEnabled());
            typeInto(equation, QStringLiteral("(C1*2"));
            snapshot(dialog, "computed_function");
            dialog.okButton()->click();
            QCOMPARE(lastMessage(), std::string("Missing right parenthesis!"));
            QCOMPARE(dialog.focusWidget(), &equation);
            QCOMPARE(equation.text(), QStringLiteral("(C1*2"));
            QVERIFY(!equation.hasSelectedText());
            typeInto(equation, QStringLiteral("C1*2+C4"));
            dialog.okButton()->click();
        });
        QCOMPARE(computed.item(0)->text(), QStringLiteral("1221 (Label),  Equation"));

        // An average of the OFF channel 5 passes its own dialog, not the channels' OK.
        selectRows(computed, {1});
        withLowerDialog<ComputedFunctionDialog>(function, [&](ComputedFunctionDialog &dialog) {
            chooseLine(*qobject_cast<QListWidget *>(dialog.control(ComputedFunctionControl::Function)), "Average");
            selectRows(*qobject_cast<QListWidget *>(dialog.control(ComputedFunctionControl::GroupAverage)), {4});
            dialog.okButton()->click();
        });
        selectRows(analog, {0});
        snapshot(channels, "channels_configuration");
        channels.okButton()->click();
        QVERIFY(channels.isVisible());
        QCOMPARE(lastMessage(), std::string("Channel 1205 must be defined for calculation of computed channel 1222!"));
        QCOMPARE(channels.focusWidget(), &computed);
        QVERIFY(computed.item(1)->isSelected());
        withLowerDialog<ComputedFunctionDialog>(function, [&](ComputedFunctionDialog &dialog) {
            chooseLine(*qobject_cast<QListWidget *>(dialog.control(ComputedFunctionControl::Function)), "OFF");
            dialog.okButton()->click();
        });
        channels.okButton()->click();
        QVERIFY(!channels.isVisible());
    }

    // A Fast Binary file with rollover by size, after the Trend Link
    // settings (batches, deadbands) were made; one refusal in each dialog.
    void configureDataFile(DataFileConfigurationDialog &file, const QString &path) {
        QCOMPARE(file.windowTitle(), QStringLiteral("Data File Configuration - 12"));
        QCOMPARE(file.formatList().currentText(), QStringLiteral("ASCII (CSV)"));
        QVERIFY(!file.control(DataFileControl::BatchOptions)->isEnabled());
        const QString taken = QString::fromStdString(home.path() + "/second.csv");
        chooseFileWhenAsked(taken, [](QFileDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Data File - 12"));
            QCOMPARE(dialog.nameFilters(), (QStringList{"ASCII Files (*.CSV)", "All Files (*)"}));
        });
        button(file.control(DataFileControl::SelectFile)).click();
        QCOMPARE(file.pathField().text(), taken);
        file.okButton()->click();
        QCOMPARE(lastMessage(), std::string("Instrument 34 already has this filename!"));
        QCOMPARE(file.focusWidget(), &file.pathField());
        typeInto(file.pathField(), QString());
        QVERIFY(!file.okButton()->isEnabled());
        typeInto(file.pathField(), path);
        typeInto(file.commentField(), QStringLiteral("Boiler house"));
        file.overwriteButton().click();

        withLowerDialog<AutoRolloverDialog>(
            button(file.control(DataFileControl::AutoRollover)), [&](AutoRolloverDialog &rollover) {
                QCOMPARE(rollover.windowTitle(), QStringLiteral("Auto Rollover - 12"));
                rollover.modeButton(RolloverMode::FileSize).click();
                QLineEdit &size = rollover.field(RolloverControl::FileSize);
                QCOMPARE(size.text(), QStringLiteral("1000"));
                typeInto(size, QStringLiteral("100"));
                rollover.stopLoggingButton().click();
                snapshot(rollover, "auto_rollover");
                rollover.okButton()->click();
                QCOMPARE(lastMessage(), std::string("File Size must be between 200 and 100000!"));
                QCOMPARE(rollover.focusWidget(), &size);
                typeInto(size, QStringLiteral("5000"));
                rollover.okButton()->click();
            });

        file.formatList().setCurrentIndex(3); // Trend Link
        QVERIFY(file.pathField().text().endsWith(QStringLiteral(".set")));
        QVERIFY(!file.overwriteButton().isEnabled());
        withLowerDialog<BatchOptionsDialog>(
            button(file.control(DataFileControl::BatchOptions)), [&](BatchOptionsDialog &batches) {
                QCOMPARE(batches.windowTitle(), QStringLiteral("Batch Options - 12"));
                typeInto(batches.field(BatchControl::Name), QStringLiteral("Shift"));
                batches.definitionButton(BatchDefinition::Periodic).click();
                typeInto(batches.field(BatchControl::PeriodHours), QStringLiteral("0"));
                typeInto(batches.field(BatchControl::PeriodMinutes), QStringLiteral("0"));
                batches.okButton()->click();
                QCOMPARE(lastMessage(),
                         std::string("Time Interval must range from 1 minute to 999 hours and 99 minutes!"));
                QCOMPARE(batches.focusWidget(), &batches.field(BatchControl::PeriodHours));
                typeInto(batches.field(BatchControl::PeriodHours), QStringLiteral("1"));
                typeInto(batches.field(BatchControl::PeriodMinutes), QStringLiteral("30"));
                QVERIFY(!batches.field(BatchControl::StartHours).isEnabled());
                batches.startAtTimeBox().click();
                typeInto(batches.field(BatchControl::StartHours), QStringLiteral("6"));
                typeInto(batches.field(BatchControl::StartMinutes), QStringLiteral("0"));
                snapshot(batches, "batch_options");
                batches.okButton()->click();
            });
        withLowerDialog<DeadbandValuesDialog>(
            button(file.control(DataFileControl::Deadband)), [&](DeadbandValuesDialog &deadbands) {
                QCOMPARE(deadbands.windowTitle(), QStringLiteral("Deadband Values - 12"));
                QCOMPARE(deadbands.channelList().count(), 3);
                selectRows(deadbands.channelList(), {1});
                typeInto(deadbands.valueField(), QStringLiteral("-1"));
                deadbands.applyButton().click();
                QCOMPARE(lastMessage(), std::string("Invalid Value!"));
                QCOMPARE(deadbands.focusWidget(), &deadbands.valueField());
                typeInto(deadbands.valueField(), QStringLiteral("0.5"));
                deadbands.applyButton().click();
                QVERIFY(deadbands.channelList().item(1)->text().startsWith(QStringLiteral("1202   0.500000")));
                snapshot(deadbands, "deadband_values");
                deadbands.okButton()->click();
            });
        file.formatList().setCurrentIndex(1); // Fast Binary
        QCOMPARE(file.pathField().text(), path);
        snapshot(file, "data_file_configuration");
        file.okButton()->click();
        QVERIFY(!file.isVisible());
    }

private slots:
    void initTestCase() {
        kvtest::writeCcfFile(ccfDir.path(), 0, 7000, {{kM100a, "127.0.0.12", 1}, {kM200a, "127.0.0.34", 0}});
        useTestDirectories();
    }

    void init() { launch(); }

    void cleanup() {
        closeWindow(*ui);
        shutDownApplication();
    }

    void instrumentConfigurationRefusesThenWritesItsScanSettingsBack() {
        application->document().setModified(false);
        withInstrumentConfiguration([&](InstrumentConfigurationDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Instrument Configuration - 12"));
            snapshot(dialog, "instrument_configuration");
            QLineEdit &interval1 = dialog.field(InstrumentControl::Interval1);
            QCOMPARE(interval1.text(), QStringLiteral("1.000"));
            QVERIFY(!dialog.field(InstrumentControl::Interval2).isEnabled());
            typeInto(interval1, QStringLiteral("86400.5"));
            dialog.okButton()->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(lastMessage(), std::string("Primary Interval must range from 0 to 24 hours (86400 seconds)!"));
            QCOMPARE(ui->messages().back().icon, MessageIcon::Exclamation);
            QCOMPARE(dialog.focusWidget(), &interval1);

            typeInto(interval1, QStringLiteral("0.5"));
            dialog.box(InstrumentControl::ExternalTrigger).click();
            QVERIFY(dialog.field(InstrumentControl::Interval2).isEnabled());
            typeInto(dialog.field(InstrumentControl::Interval2), QStringLiteral("2"));
            QVERIFY(!dialog.box(InstrumentControl::DriftCorrection).isEnabled());
            dialog.readingRateList().setCurrentIndex(2); // Fast
            dialog.box(InstrumentControl::DriftCorrection).click();
            dialog.box(InstrumentControl::StopScanning).click();
            typeInto(dialog.field(InstrumentControl::DurationHours), QStringLiteral("1"));
            typeInto(dialog.field(InstrumentControl::DurationMinutes), QStringLiteral("30"));
            typeInto(dialog.field(InstrumentControl::DurationSeconds), QStringLiteral("0"));
            dialog.unitsButton(TemperatureUnits::Fahrenheit).click();
            dialog.monitorList().setCurrentIndex(2);
            dialog.okButton()->click();
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(application->document().modified());
        QVERIFY(notified(ChildWindow::QuickPlot, quick_plot::kConfigurationChanged, 1));
        const auto file = saved();
        const InstrumentSetup &setup = file->setup(kM100a);
        QCOMPARE(setup.triggerType, TriggerType::IntervalExternal);
        QCOMPARE(setup.interval1, 0.5);
        QCOMPARE(setup.interval2, 2.0);
        QCOMPARE(setup.readingRate, ReadingRate::Fast);
        QVERIFY(!setup.driftCorrection);
        QVERIFY(setup.stopAfterDuration);
        QCOMPARE(setup.duration, 5400u);
        QCOMPARE(setup.temperatureUnits, TemperatureUnits::Fahrenheit);
        QCOMPARE(setup.monitorChannel, 2);
    }

    void cancellingAfterALowerDialogWasAcceptedAsksFirst() {
        const std::string label = live(kM100a).channel(1).label;
        withInstrumentConfiguration([&](InstrumentConfigurationDialog &dialog) {
            withLowerDialog<ChannelsConfigurationDialog>(button(dialog.control(InstrumentControl::Channels)),
                                                         [&](ChannelsConfigurationDialog &channels) {
                                                             typeInto(channels.labelField(), QStringLiteral("Inlet"));
                                                             channels.button(ChannelsControl::ApplyLabel).click();
                                                             channels.okButton()->click();
                                                         });
            ui->queueAnswer(MessageAnswer::No);
            dialog.reject();
            QCOMPARE(lastMessage(), std::string("Changes made in lower level dialog boxes will be lost.  Are you "
                                                "sure you want to cancel?"));
            QVERIFY(dialog.isVisible());
            ui->queueAnswer(MessageAnswer::Yes);
            dialog.reject();
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(live(kM100a).channel(1).label, label);
    }

    void channelsConfigurationSetsFunctionsScalingAlarmsAndEquations() {
        withInstrumentConfiguration([&](InstrumentConfigurationDialog &dialog) {
            withLowerDialog<ChannelsConfigurationDialog>(
                button(dialog.control(InstrumentControl::Channels)),
                [&](ChannelsConfigurationDialog &channels) { configureChannels(channels); });
            dialog.okButton()->click();
        });
        const auto file = saved();
        const InstrumentSetup &setup = file->setup(kM100a);
        const ChannelSetup &loop = setup.channel(4);
        QCOMPARE(loop.function, ChannelFunction::Current);
        QCOMPARE(loop.range, RangeCode::Current4to20mA);
        QCOMPARE(loop.shunt, 250.0);
        QCOMPARE(loop.unitsLabel, std::string("Percent"));
        QCOMPARE(loop.label, std::string("Flow"));
        QVERIFY(loop.mxbEnabled);
        QCOMPARE(loop.m, 6.25);
        QCOMPARE(loop.b, -25.0);
        QCOMPARE(loop.alarm1.sense, AlarmSense::Hi);
        QCOMPARE(loop.alarm1.value, 75.0);
        QCOMPARE(codeValue(loop.alarm1.output), codeValue(AlarmOutput::Do0) + 3);
        QCOMPARE(setup.channel(3).function, ChannelFunction::Rtd4W);
        QCOMPARE(setup.channel(3).r0, 100.0);
        QCOMPARE(setup.channel(13).function, ChannelFunction::Off);
        QCOMPARE(setup.channel(21).function, ChannelFunction::Equation);
        QCOMPARE(setup.equation(21), std::string("C1*2+C4"));
        QCOMPARE(setup.channel(21).equationSet, channelBit(1) | channelBit(4));
        QCOMPARE(setup.channel(22).function, ChannelFunction::Off);
    }

    void dataFileConfigurationWithRolloverBatchesAndDeadbands() {
        const QString path = QString::fromStdString(home.path() + "/plant.bin");
        withInstrumentConfiguration([&](InstrumentConfigurationDialog &dialog) {
            withLowerDialog<DataFileConfigurationDialog>(
                button(dialog.control(InstrumentControl::DataFile)),
                [&](DataFileConfigurationDialog &file) { configureDataFile(file, path); });
            dialog.okButton()->click();
        });
        const auto file = saved();
        const DataFileSetup &written = file->setup(kM100a).dataFile;
        QVERIFY(written.enabled);
        QCOMPARE(written.format, FileFormat::FastBinary);
        QCOMPARE(QString::fromStdString(written.path), path);
        QCOMPARE(written.comment, std::string("Boiler house"));
        QCOMPARE(written.mode, FileMode::Overwrite);
        QCOMPARE(written.rolloverMode, RolloverMode::FileSize);
        QCOMPARE(written.rolloverValue, 5000u);
        QCOMPARE(written.lowDiskAction, 1);
        QCOMPARE(written.batchType, 3);
        QCOMPARE(written.batchPeriod, 90);
        QCOMPARE(written.batchStart, 6 * 60);
        QCOMPARE(written.batchName, std::string("Shift"));
        QCOMPARE(file->setup(kM100a).channel(2).deadband, 0.5f);
        QCOMPARE(file->setup(kM100a).channel(1).deadband, 0.0f);
    }

    void descriptionGroupsAndCopiedChannels() {
        test::whenModalOpens<InstrumentDescriptionDialog>([&](InstrumentDescriptionDialog &dialog) {
            ClosedAtEnd closed{dialog};
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Instrument Description - 12"));
            typeInto(dialog.field(), QStringLiteral("Boiler house, east wall"));
            snapshot(dialog, "instrument_description");
            dialog.okButton()->click();
        });
        trigger(kInstrumentDescription);
        QCOMPARE(live(kM100a).description, std::string("Boiler house, east wall"));

        test::whenModalOpens<GroupInstrumentsDialog>([&](GroupInstrumentsDialog &dialog) {
            ClosedAtEnd closed{dialog};
            QListWidget &list = dialog.instrumentList();
            QCOMPARE(list.item(0)->text(), QStringLiteral("12 (Async)"));
            QVERIFY(!dialog.roleButton(GroupRole::Slave).isEnabled());
            QVERIFY(!dialog.wiredBox().isEnabled());
            dialog.roleButton(GroupRole::Master).click();
            QCOMPARE(list.item(0)->text(), QStringLiteral("12 (Master)"));
            QVERIFY(dialog.wiredBox().isEnabled());
            list.setCurrentRow(1);
            dialog.roleButton(GroupRole::Slave).click();
            ui->queueAnswer(MessageAnswer::No);
            dialog.roleButton(GroupRole::Master).click();
            QCOMPARE(lastMessage(), std::string("Current Master instrument will become a Slave.  Continue?"));
            QVERIFY2(dialog.roleButton(GroupRole::Slave).isChecked(), "No keeps the roles");
            QCOMPARE(list.item(1)->text(), QStringLiteral("34 (Slave)"));
            dialog.wiredBox().click();
            snapshot(dialog, "group_instruments");
            dialog.okButton()->click();
        });
        trigger(kGroupInstruments);

        test::whenModalOpens<CopyChannelsDialog>([&](CopyChannelsDialog &dialog) {
            ClosedAtEnd closed{dialog};
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy Channels - 12 (Master)"));
            QCOMPARE(dialog.targetList().count(), 1);
            QCOMPARE(dialog.targetList().item(0)->text(), QStringLiteral("34  M200A"));
            QVERIFY(dialog.targetList().item(0)->isSelected());
            snapshot(dialog, "copy_channels");
            ui->queueAnswer(MessageAnswer::No);
            dialog.okButton()->click();
            QCOMPARE(lastMessage(),
                     std::string("Copying to different model.  Some channel definitions may differ.  Continue?"));
            QVERIFY(dialog.isVisible());
            dialog.okButton()->click();
        });
        trigger(kCopyChannels);
        QCOMPARE(live(kM200a).channel(3).label, std::string("Stack"));

        const auto file = saved();
        QCOMPARE(file->setup(kM100a).description, std::string("Boiler house, east wall"));
        QCOMPARE(file->table.slot(file->table.find(kM100a)).role, GroupRole::Master);
        QCOMPARE(file->table.slot(file->table.find(kM200a)).role, GroupRole::Slave);
        QVERIFY(!file->options.wiredGroup);
        QCOMPARE(file->setup(kM200a).channel(2).label, std::string("Return"));
        QCOMPARE(file->setup(kM200a).channel(2).function, ChannelFunction::Vdc);
    }

    void mxbFilesAndTheConfigurationTextGoThroughTheirFileDialogs() {
        const std::string scale = home.path() + "/scale.txt";
        const std::string broken = home.path() + "/broken.txt";
        std::ofstream(scale, std::ios::binary) << "3 2.5 -1\r\n";
        std::ofstream(broken, std::ios::binary) << "3,2.5,-1\r\n";
        application->document().setModified(false);
        chooseFileWhenAsked(QString::fromStdString(scale), [](QFileDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Load Mx+B File - 12"));
            QCOMPARE(dialog.nameFilters(), (QStringList{"Text Files (*.TXT)", "All Files (*)"}));
            QCOMPARE(dialog.defaultSuffix(), QStringLiteral("txt"));
            QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        });
        trigger(kLoadMxbFile);
        QVERIFY(live(kM100a).channel(3).mxbEnabled);
        QCOMPARE(live(kM100a).channel(3).m, 2.5);
        QCOMPARE(live(kM100a).channel(3).b, -1.0);
        QVERIFY(application->document().modified());

        // The next dialog starts where the last file was.
        chooseFileWhenAsked(QString::fromStdString(broken), [&](QFileDialog &dialog) {
            QCOMPARE(dialog.directory().absolutePath(), QString::fromStdString(home.path()));
        });
        trigger(kLoadMxbFile);
        QCOMPARE(lastMessage(), std::string("Mx+B Load File Is Invalid!\r\n\"3,2.5,-1...\""));

        const QString report = QString::fromStdString(home.path() + "/report");
        chooseFileWhenAsked(report, [](QFileDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Instrument Configuration Text - 12"));
            QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
            QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        });
        trigger(kSaveConfigurationText);
        std::ifstream text((report + QStringLiteral(".txt")).toStdString(), std::ios::binary);
        std::string title;
        std::getline(text, title);
        QCOMPARE(title, std::string("INSTRUMENT CONFIGURATION - 12\r"));
    }

    void doubleClicksOpenTheDialogOfTheirPane() {
        auto &upper = *qobject_cast<CConfigView *>(frame->splitter().widget(0));
        auto &lower = *qobject_cast<CConfigView *>(frame->splitter().widget(1));
        test::whenModalOpens<InstrumentConfigurationDialog>([](InstrumentConfigurationDialog &dialog) {
            ClosedAtEnd closed{dialog};
            dialog.monitorList().setCurrentIndex(2);
            dialog.okButton()->click();
        });
        QTest::mouseDClick(upper.viewport(), Qt::LeftButton);
        QCOMPARE(live(kM100a).monitorChannel, 2);

        // The line of channel 2, the second under the column header.
        const CharacterCell cell = characterCell(lower.font());
        const QPoint secondLine(cell.columns(10), cell.halfLines(3) + cell.height + cell.height / 2);
        test::whenModalOpens<ChannelsConfigurationDialog>([&](ChannelsConfigurationDialog &dialog) {
            ClosedAtEnd closed{dialog};
            QCOMPARE(dialog.analogList().selectedItems().size(), 1);
            QVERIFY(dialog.analogList().item(1)->isSelected());
            withLowerDialog<FunctionSelectionDialog>(
                dialog.button(ChannelsControl::Function), [&](FunctionSelectionDialog &function) {
                    chooseLine(*qobject_cast<QListWidget *>(function.control(FunctionControl::Function)), "OFF");
                    function.okButton()->click();
                });
            // The monitor channel is now undefined: Instrument Configuration takes over.
            test::whenModalOpens<InstrumentConfigurationDialog>([&](InstrumentConfigurationDialog &whole) {
                ClosedAtEnd closedToo{whole};
                QCOMPARE(lastMessage(), std::string("Must Select Function for Monitor Channel!"));
                QCOMPARE(whole.focusWidget(), &whole.monitorList());
                whole.monitorList().setCurrentIndex(0);
                whole.okButton()->click();
            });
            dialog.okButton()->click();
        });
        QTest::mouseDClick(lower.viewport(), Qt::LeftButton, {}, secondLine);
        QCOMPARE(live(kM100a).channel(2).function, ChannelFunction::Off);
        QCOMPARE(live(kM100a).monitorChannel, 0);
    }
};

QTEST_MAIN(ConfigurationDialogsTest)
#include "configuration_dialogs_test.moc"

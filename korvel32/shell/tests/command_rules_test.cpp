// The enable and check rules of the main window's commands, from the state of
// the instruments and options.
#include "app/command_ids.h"
#include "app/command_rules.h"
#include "setup/setup_template.h"

#include <QTest>

#include <set>

using namespace korvel;
using namespace korvel::command;

namespace {

class FakeRuns : public LoggingRuns {
public:
    bool logging(int slot) const override { return logging_.count(slot) > 0; }
    bool stopping(int slot) const override { return stopping_.count(slot) > 0; }
    bool start(std::uint32_t, int) override { return true; }
    int stop(std::uint32_t, CommandSource) override { return 0; }
    int stopGroup(CommandSource) override { return 0; }

    std::set<int> logging_;
    std::set<int> stopping_;
};

constexpr int kConfigurationCommands[] = {kCreateInstrument,     kDeleteInstrument,      kGroupInstruments,
                                          kCommunicationsConfig, kInstrumentDescription, kInstrumentConfiguration,
                                          kLoadMxbFile,          kCopyChannels,          kToolbox};

} // namespace

class CommandRulesTest : public QObject {
    Q_OBJECT

private:
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    FakeRuns runs;
    LoggerOptions options;

    void addInstruments(int count) {
        for (int slot = 1; slot <= count; ++slot) table.add(slot, static_cast<unsigned>(10 + slot), ModelCode::M100A);
    }
    CommandState state(int selected = 1) const { return setupCommandState(table, runs, selected, options); }

private slots:
    void init() {
        table.removeAll();
        runs = FakeRuns{};
        options = LoggerOptions{};
    }

    void lockoutDisablesEveryConfigurationCommand() {
        addInstruments(2);
        for (const int id : kConfigurationCommands)
            QVERIFY2(commandEnabled(id, state()), qPrintable(QString::number(id)));
        options.configurationLockout = true;
        for (const int id : kConfigurationCommands)
            QVERIFY2(!commandEnabled(id, state()), qPrintable(QString::number(id)));
        for (const int id : {kSaveConfigurationText, kStartAll, kStartInstrument, kOpenSetup, kSpy}) {
            QVERIFY2(commandEnabled(id, state()), qPrintable(QString::number(id)));
        }
        QCOMPARE(commandChecked(kLockout, state()), std::optional<bool>(true));
    }

    void oneInstrumentStartsAloneButNotWithStartAll() {
        addInstruments(1);
        QVERIFY(commandEnabled(kStartInstrument, state()));
        QVERIFY(!commandEnabled(kStopInstrument, state()));
        QVERIFY(!commandEnabled(kStartAll, state()));
        QVERIFY(!commandEnabled(kStopAll, state()));

        runs.logging_ = {1};
        QVERIFY(!commandEnabled(kStartInstrument, state()));
        QVERIFY(commandEnabled(kStopInstrument, state()));
        QVERIFY(!commandEnabled(kStopAll, state()));
        runs.stopping_ = {1};
        QVERIFY2(!commandEnabled(kStopInstrument, state()), "a stop is already under way");
    }

    void slaveIsNeitherStartedNorStoppedAlone() {
        addInstruments(2);
        table.setRole(1, GroupRole::Master);
        table.setRole(2, GroupRole::Slave);
        QVERIFY(!commandEnabled(kStartInstrument, state(2)));
        runs.logging_ = {1, 2};
        QVERIFY(!commandEnabled(kStopInstrument, state(2)));
        QVERIFY(commandEnabled(kStopInstrument, state(1)));
    }

    void startAllAndStopAllFollowWhatLogs() {
        addInstruments(3);
        QVERIFY(commandEnabled(kStartAll, state()));
        QVERIFY(!commandEnabled(kStopAll, state()));
        runs.logging_ = {2};
        QVERIFY(commandEnabled(kStartAll, state()));
        QVERIFY(commandEnabled(kStopAll, state()));
        runs.logging_ = {1, 2, 3};
        QVERIFY(!commandEnabled(kStartAll, state()));
        QVERIFY(!commandEnabled(kCopyChannels, state()));
    }

    void loggingLocksTheSetupButNotItsSaving() {
        addInstruments(2);
        runs.logging_ = {2};
        for (const int id : {kOpenSetup, kGroupInstruments, kCommunicationsConfig, kSimulate, kCalibration,
                             kFirstRecentFile, kFirstRecentFile + kRecentFiles - 1}) {
            QVERIFY2(!commandEnabled(id, state()), qPrintable(QString::number(id)));
        }
        for (const int id : {kSaveSetup, kSaveSetupAs, kInstrumentConfiguration, kDeleteInstrument, kCopyChannels}) {
            QVERIFY2(commandEnabled(id, state()), qPrintable(QString::number(id)) + QByteArray(": slot 1 is idle"));
        }
        QVERIFY(!commandEnabled(kDeleteInstrument, state(2)));
        QVERIFY(!commandEnabled(kInstrumentConfiguration, state(2)));
    }

    void anEmptySetupOffersOnlyWhatNeedsNoInstrument() {
        for (const int id : {kDeleteInstrument, kGroupInstruments, kInstrumentDescription, kInstrumentConfiguration,
                             kSaveConfigurationText, kSpy, kStartInstrument, kStopInstrument, kToolbox}) {
            QVERIFY2(!commandEnabled(id, state(0)), qPrintable(QString::number(id)));
        }
        for (const int id : {kCreateInstrument, kOpenSetup, kCommunicationsConfig, kExit, kAbout}) {
            QVERIFY2(commandEnabled(id, state(0)), qPrintable(QString::number(id)));
        }
    }

    void checkMarksShowTheOptionsAndWindows() {
        options.resetTotalizer = false;
        options.simulateData = true;
        options.statusOnStart = false;
        options.statusOnAlarm = true;
        CommandState current = state(0);
        current.toolbarVisible = true;
        QCOMPARE(commandChecked(kClearTotalizer, current), std::optional<bool>(false));
        QCOMPARE(commandChecked(kSimulate, current), std::optional<bool>(true));
        QCOMPARE(commandChecked(kStatusOnStart, current), std::optional<bool>(false));
        QCOMPARE(commandChecked(kStatusOnAlarm, current), std::optional<bool>(true));
        QCOMPARE(commandChecked(kToolbar, current), std::optional<bool>(true));
        QCOMPARE(commandChecked(kStatusBar, current), std::optional<bool>(false));
        QCOMPARE(commandChecked(kStartAll, current), std::nullopt);
    }

    void trendLinkDirectoryOnlyWhileItsLibraryIsNotLoaded() {
        CommandState current = state(0);
        QVERIFY(commandEnabled(kTrendLinkDirectory, current));
        current.trendLinkLoaded = true;
        QVERIFY(!commandEnabled(kTrendLinkDirectory, current));
    }
};

QTEST_MAIN(CommandRulesTest)
#include "command_rules_test.moc"

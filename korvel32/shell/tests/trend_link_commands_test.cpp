// The main window's Trend Link commands against korvel-sim, the historian
// and the chart program: the directory dialog writes TLDIR until Trend Link
// is loaded, and Show Trend Link opens the chart of the data set an
// instrument is logging into, in one window however often it is asked, and
// brings it forward the next time.
#include "app/command_ids.h"
#include "datafiles/trend_link_settings.h"
#include "platform/file_descriptor.h"
#include "platform/ini_profile.h"
#include "scripted_user_interface.h"
#include "shell/main_frame.h"
#include "shell/shell_application.h"
#include "shell/tests/window_probe.h"
#include "shell/tests/windowed_logger.h"
#include "trend_link_store.h"

#include <trend_window_link.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using namespace korvel;
using namespace korvel::command;

namespace {

constexpr int kBcn = 23;
constexpr int kBoundMs = 15000;
// How long a chart program, started on a busy machine, is given to show its window or end.
constexpr int kChartProgramBoundMs = 30000;
constexpr char kChartTitle[] = "Trend Link for Orrin - boiler.cht";

// What a process was started with; empty once it has ended. Read with the
// system's calls, since a process that ends meanwhile makes the read fail.
std::string commandLineOf(const std::filesystem::path &process) {
    const korvel::FileDescriptor file(::open((process / "cmdline").c_str(), O_RDONLY | O_CLOEXEC));
    std::string commandLine;
    char buffer[4096];
    ssize_t got = 0;
    while (file.valid() && (got = ::read(file.get(), buffer, sizeof buffer)) > 0)
        commandLine.append(buffer, static_cast<std::size_t>(got));
    return commandLine;
}

// The chart programs running on this chart: their command lines name it.
int chartProgramsRunning(const std::string &chart) {
    int running = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator process("/proc", error), end; !error && process != end;
         process.increment(error))
        if (commandLineOf(process->path()).find(chart) != std::string::npos) ++running;
    return running;
}

} // namespace

class TrendLinkCommandsTest : public QObject, private test::WindowedLogger {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedUserInterface> ui;

    std::string settingsPath() const { return home.path() + "/korvel32.ini"; }
    std::string directorySetting() const {
        return readProfileString(settingsPath(), trend_link_settings::kSection, trend_link_settings::kDirectoryKey, "",
                                 260);
    }

    std::string writeSetup() const {
        const std::string path = home.path() + "/boiler.stp";
        std::ofstream(path, std::ios::binary)
            << "[KorLogger]\r\nSimMode=No\r\n[Korvel1]\r\nBCN=" << kBcn
            << "\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\nDataFileEnabled=Yes\r\nDataFile=" << home.path()
            << "/boiler.set\r\nFileFormat=TL\r\nDataFileComment=Boiler\r\nC1=VDC,4,\r\n";
        return path;
    }

    void trigger(int id) {
        QVERIFY2(frame->action(id)->isEnabled(), qPrintable(QString::number(id)));
        frame->action(id)->trigger();
    }

private slots:
    void initTestCase() {
        startInstruments({kBcn});
        // The historian's registry and the chart windows' sockets are the test's own.
        ::setenv("TBASE32_INFOLINK_DIR", home.path().c_str(), 1);
        ::setenv("TL32_SOCKET_DIR", (home.path() + "/sockets").c_str(), 1);
        std::filesystem::copy_file(kvtest::trendLinkDirectory() + "/tldef.cht", home.path() + "/tldef.cht");
        writeProfileString(settingsPath(), trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                           home.path() + "/not-installed");
        ui = std::make_unique<ScriptedUserInterface>();
        QVERIFY(startWindow({"/S", writeSetup()}, *ui));
    }

    void cleanupTestCase() {
        tl32::closeTrendWindows();
        closeWindow(*ui);
        shutDownApplication();
    }

    void theDirectoryDialogWritesTheTrendLinkDirectory() {
        QString shown;
        test::whenModalOpens<QDialog>([&](QDialog &dialog) {
            auto *directory = dialog.findChild<QLineEdit *>(QStringLiteral("directory"));
            shown = directory->text();
            directory->setText(QString::fromStdString(kvtest::trendLinkDirectory()));
            QVERIFY(test::saveSnapshot(dialog, QString::fromStdString(home.path()),
                                       QStringLiteral("trend_link_directory")));
            dialog.accept();
        });
        trigger(kTrendLinkDirectory);
        QCOMPARE(shown, QString::fromStdString(home.path() + "/not-installed"));
        QCOMPARE(directorySetting(), kvtest::trendLinkDirectory());
        QVERIFY(ui->messages().empty());
    }

    void showTrendLinkOpensTheChartOfTheDataSetBeingLogged() {
        trigger(kStartInstrument);
        QVERIFY2(frame->logging().anyLogging(), ui->messages().empty() ? "" : ui->messages()[0].text.c_str());
        QVERIFY2(!frame->action(kTrendLinkDirectory)->isEnabled(), "not while Trend Link is loaded");
        QTRY_VERIFY_WITH_TIMEOUT(kvtest::storedValues("boiler", "2301").size() >= 5, kBoundMs);

        const std::string chart = home.path() + "/_boiler/boiler.cht";
        QVERIFY(std::filesystem::exists(chart));
        trigger(kShowTrendLink);
        trigger(kShowTrendLink); // again before the chart window can answer: still one window
        QVERIFY(frame->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(chartProgramsRunning(chart) == 1 &&
                                     tl32::bringTrendWindowForward(QString::fromLatin1(kChartTitle)),
                                 kChartProgramBoundMs);
        trigger(kShowTrendLink); // brought forward, not started again
        QCOMPARE(chartProgramsRunning(chart), 1);
        QCOMPARE(tl32::closeTrendWindows(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(chartProgramsRunning(chart), 0, kChartProgramBoundMs);
        QVERIFY(ui->messages().empty());

        trigger(kStopInstrument);
        QTRY_VERIFY_WITH_TIMEOUT(!frame->logging().anyLogging(), kBoundMs);
        QVERIFY(ui->messages().empty());
    }
};

QTEST_MAIN(TrendLinkCommandsTest)
#include "trend_link_commands_test.moc"

// The window with its toolbox add-on loaded: the settings dialog gives the
// instruments their scan queues through the add-on, remote commands wait
// while a dialog is open (all but remote mode), and a remote open shows the
// new setup in the window.
#include "app/command_ids.h"
#include "scripted_user_interface.h"
#include "shell/main_frame.h"
#include "shell/shell_application.h"
#include "shell/tests/window_probe.h"
#include "shell/tests/windowed_logger.h"
#include "shell/toolbox_settings_dialog.h"

#include <child_process.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace korvel;
using namespace korvel::command;

namespace {

constexpr int kBoundMs = 20000;

struct RemoteRun {
    int exitCode = -1;
    std::string output;
};

// korvel-remote as a client runs it, while the window goes on taking its
// events, dialogs included.
RemoteRun remote(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KORVEL_REMOTE_PATH);
    kvtest::ChildProcess client(arguments);
    QElapsedTimer waited;
    waited.start();
    int exitCode = -1;
    while ((exitCode = client.wait(10)) == -1 && waited.elapsed() < kBoundMs) QApplication::processEvents();
    return {exitCode, client.output() + client.errors()};
}

bool said(const RemoteRun &run, const std::string &text) { return run.output.find(text) != std::string::npos; }

} // namespace

class ToolboxWindowTest : public QObject, private test::WindowedLogger {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedUserInterface> ui;

    std::string writeSetup(const std::string &name) const { return writeLoggingSetup(name, {21, 22}, "0.5", true); }

    QString rowText(ToolboxSettingsDialog &dialog, int row) const {
        const QTreeWidgetItem *item = dialog.list().topLevelItem(row);
        return item->text(0) + QLatin1Char(' ') + item->text(1) + QLatin1Char(' ') + item->text(2);
    }

    // Selects the rows and applies the size typed.
    void applySize(ToolboxSettingsDialog &dialog, std::initializer_list<int> rows, const char *size) {
        dialog.list().clearSelection();
        for (const int row : rows) dialog.list().topLevelItem(row)->setSelected(true);
        dialog.sizeField().setText(QString::fromLatin1(size));
        dialog.applyButton().click();
    }

    std::string lastMessage() const { return ui->messages().empty() ? std::string() : ui->messages().back().text; }

private slots:
    void initTestCase() {
        startInstruments({21, 22});
        // Room for one full queue and a short one, not for two full ones.
        ::setenv("QPEXT32_QUEUE_MEMORY", "70000", 1);
        std::ofstream(home.path() + "/korvel32.ini", std::ios::binary) << "[Defaults]\r\nDevelopersToolbox=True\r\n";
        std::filesystem::create_symlink(QPEXT32_PATH, home.path() + "/libqpext32.so");
        writeSetup("other.stp");

        ui = std::make_unique<ScriptedUserInterface>();
        QVERIFY(startWindow({"/S", writeSetup("two.stp")}, *ui));
    }

    void cleanupTestCase() {
        QVERIFY(closeWindow(*ui));
        shutDownApplication();
        QVERIFY(!std::filesystem::exists(home.path() + "/korvel32/toolbox"));
    }

    void theSettingsDialogSizesQueuesWhileRemoteCommandsWait() {
        QAction *command = frame->action(kToolbox);
        QVERIFY2(command != nullptr, "the toolbox is loaded");
        QVERIFY(command->isEnabled());
        RemoteRun duringDialog;
        RemoteRun remoteMode;
        QString scanSize;
        QStringList rows;
        std::vector<std::string> messages;
        test::whenModalOpens<ToolboxSettingsDialog>([&](ToolboxSettingsDialog &dialog) {
            duringDialog = remote({"start", "21"});
            remoteMode = remote({"remote-mode", "on"});

            dialog.list().topLevelItem(0)->setSelected(true);
            scanSize = dialog.scanSize().text();
            applySize(dialog, {0}, "147");
            messages.push_back(lastMessage());
            applySize(dialog, {0}, "65440");
            applySize(dialog, {1}, "148");
            applySize(dialog, {0, 1}, "65440");
            messages.push_back(lastMessage());
            rows = {rowText(dialog, 0), rowText(dialog, 1)};
            QVERIFY(test::saveSnapshot(dialog, home.path().c_str(), QStringLiteral("toolbox_settings")));
            dialog.closeButton().click();
        });
        command->trigger();

        QCOMPARE(duringDialog.exitCode, 1);
        QVERIFY2(said(duringDialog, "a dialog is open in the logger (reply -6000)"), duringDialog.output.c_str());
        QVERIFY2(remoteMode.exitCode == 0, remoteMode.output.c_str());
        QCOMPARE(scanSize, QStringLiteral("1 scan = 32 bytes"));
        QVERIFY(messages == (std::vector<std::string>{
                                "Queue size must range between 148 and 65440 bytes, or be 0!",
                                "Cannot change size of Dereruded'i Ruzozov scan queues for some instruments due to "
                                "insufficient memory!"}));
        QCOMPARE(rows, (QStringList{QStringLiteral("21 65440 (2045 scans)"), QStringLiteral("22 148 (4 scans)")}));
        QVERIFY(application->document().modified());

        const RemoteRun started = remote({"start", "21"});
        QVERIFY2(started.exitCode == 0, started.output.c_str());
        const RemoteRun status = remote({"status"});
        QVERIFY2(said(status, "Remote mode: on"), status.output.c_str());
        QVERIFY2(said(status, "Instrument 21: logging, scan queue 65440 bytes"), status.output.c_str());
        QVERIFY2(said(status, "Instrument 22: stopped, scan queue 148 bytes"), status.output.c_str());
        QVERIFY(remote({"stop", "21"}).exitCode == 0);
        QTRY_VERIFY_WITH_TIMEOUT(!frame->logging().anyLogging(), kBoundMs);
    }

    void aRemoteOpenShowsTheNewSetupInTheWindow() {
        const RemoteRun opened = remote({"open", "other.stp"});
        QVERIFY2(opened.exitCode == 0, opened.output.c_str());
        // The title names the new setup, marked as the document is (a setup in
        // text form opens modified).
        QVERIFY(frame->windowTitle().startsWith(QStringLiteral("other.stp[*] - ")));
        QCOMPARE(frame->isWindowModified(), application->document().modified());
        QVERIFY(frame->action(kFirstRecentFile)->text().endsWith(QStringLiteral("/other.stp")));
    }
};

QTEST_MAIN(ToolboxWindowTest)
#include "toolbox_window_test.moc"

// The window serves live values from its own event loop: a client follows an
// instrument the window logs, hears of instruments added and deleted, and a
// second logger cannot take the window's service name.
#include "scripted_user_interface.h"
#include "shell/main_frame.h"
#include "shell/shell_application.h"
#include "shell/tests/windowed_logger.h"

#include <live_values_client.h>

#include "app/live_values_protocol.h"
#include "platform/local_server.h"

#include <QApplication>
#include <QTest>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

using namespace korvel;

namespace {

constexpr int kBcns[] = {31, 32};
constexpr char kService[] = "korvel32";

// Serves nobody: it only holds a service name.
class Silent : public LocalServerHandler {
public:
    void lineReceived(LocalConnectionId, const std::string &) override {}
};

void pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }

} // namespace

class LiveValuesWindowTest : public QObject, private test::WindowedLogger {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedUserInterface> ui;

    std::string writeSetup(const std::string &name, const std::vector<int> &bcns) const {
        std::ostringstream setup;
        setup << "[KorLogger]\r\nSimMode=No\r\n";
        for (std::size_t i = 0; i < bcns.size(); ++i) {
            setup << "[Korvel" << i + 1 << "]\r\nBCN=" << bcns[i]
                  << "\r\nTriggerType=Intvl\r\nIntvls=0.1,0.1\r\nC1=VDC,4,\r\n";
        }
        const std::string path = home.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << setup.str();
        return path;
    }

    bool launch(std::vector<std::string> switches) {
        ui = std::make_unique<ScriptedUserInterface>();
        return startWindow(switches, *ui);
    }

    // Whatever a test left logging is stopped without saving.
    void closeAndShutDown() {
        QVERIFY(closeWindow(*ui));
        shutDownApplication();
    }

private slots:
    void initTestCase() { startInstruments({std::begin(kBcns), std::end(kBcns)}); }

    void cleanup() { closeAndShutDown(); }

    void anAdviseFollowsAnInstrumentTheWindowLogs() {
        QVERIFY(launch({"/S", "/G", writeSetup("one.stp", {31})}));
        kvtest::LiveValuesClient client(kService, pumpEvents);
        QCOMPARE(client.ask("connect BCN31"), std::string("connected BCN31"));
        QCOMPARE(client.ask("advise BCN31 c1"), std::string("advising BCN31 c1"));
        QVERIFY(client.waitUntil([&] { return client.updates().size() >= 2; }));
        QCOMPARE(client.updates().front().item, std::string("c1"));
        QVERIFY(client.ask("request BCN31 ELDATETIME") != "data BCN31 ELDATETIME 0");
    }

    void theTopicsFollowTheInstrumentsOfTheSetup() {
        QVERIFY(launch({"/S", writeSetup("one.stp", {31})}));
        kvtest::LiveValuesClient client(kService, pumpEvents);
        QCOMPARE(client.ask("connect System"), std::string("connected System"));
        QCOMPARE(client.ask("advise System Topics"), std::string("advising System Topics"));
        QVERIFY(application->document().open(writeSetup("two.stp", {31, 32})));
        QVERIFY(client.waitUntil(
            [&] { return !client.updates().empty() && client.updates().back().text == "System, BCN31, BCN32"; }));
        QCOMPARE(client.updates().front().text, std::string("System")); // the first setup's instrument went
    }

    void aServiceNameTakenEndsStartUpWithItsMessage() {
        Silent silent;
        const LocalServer holder(live_protocol::kDefaultService, silent);
        QVERIFY(!launch({"/S", writeSetup("one.stp", {31})}));
        QCOMPARE(ui->messageTexts(), std::vector<std::string>{"Unable to initialize DDE!"});
        QVERIFY(application->mainWindow() == nullptr);
        application.reset();
    }
};

QTEST_MAIN(LiveValuesWindowTest)
#include "live_values_window_test.moc"

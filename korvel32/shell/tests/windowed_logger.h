// The windowed logger as the main window's tests run it against korvel-sim:
// the instruments' ccf.cfg, the logger's home and its local sockets in
// directories of the test's own, so that it meets neither the machine's files
// nor a logger the user runs meanwhile, and the shell started on a setup.
// A test class derives from it beside QObject.
#pragma once

#include "scripted_user_interface.h"
#include "shell/main_frame.h"
#include "shell/shell_application.h"

#include <general_network_instruments.h>
#include <logger_directories.h>
#include <sim_process.h>
#include <temp_dir.h>

#include <QApplication>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::test {

class WindowedLogger {
protected:
    kvtest::TempDir ccfDir;
    kvtest::TempDir home;
    std::optional<kvtest::LoggerDirectories> directories;
    std::unique_ptr<kvtest::SimProcess> sim;
    std::unique_ptr<ShellApplication> application;
    CMainFrame *frame = nullptr;

    // korvel-sim with the instruments, and the logger pointed at the test's
    // directories; from initTestCase.
    void startInstruments(const std::vector<int> &bcns) {
        sim = kvtest::startGeneralNetworkInstruments(bcns, ccfDir.path());
        useTestDirectories();
    }

    // The logger pointed at the test's directories, where the test writes
    // its own ccf.cfg.
    void useTestDirectories() {
        QApplication::setQuitOnLastWindowClosed(false);
        directories.emplace(ccfDir.path(), home.path());
    }

    // A setup in the home directory whose instruments scan at the interval
    // (as the setup writes it) and log channel 1 into bcnNN.csv beside it.
    std::string writeLoggingSetup(const std::string &name, const std::vector<int> &bcns, const char *interval,
                                  bool overWrite) const {
        std::ostringstream setup;
        setup << "[KorLogger]\r\nSimMode=No\r\n";
        for (std::size_t i = 0; i < bcns.size(); ++i) {
            setup << "[Korvel" << i + 1 << "]\r\nBCN=" << bcns[i] << "\r\nTriggerType=Intvl\r\nIntvls=" << interval
                  << ',' << interval << "\r\nDataFileEnabled=Yes\r\nDataFile=" << home.path() << "/bcn" << bcns[i]
                  << ".csv\r\nFileFormat=ASCII\r\n"
                  << (overWrite ? "OverWrite=Yes\r\n" : "") << "C1=VDC,4,\r\n";
        }
        const std::string path = home.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << setup.str();
        return path;
    }

    // The shell started with the switches; false when it did not start.
    bool startWindow(const std::vector<std::string> &switches, UserInterface &ui,
                     std::function<void(CMainFrame &)> mainWindowCreated = {}) {
        application = std::make_unique<ShellApplication>(parseArguments(switches), ui, std::move(mainWindowCreated));
        const bool started = application->start();
        frame = application->mainWindow();
        return started;
    }

    // The main window closed as its user does, stopping whatever logs and
    // leaving the setup as it was; false when it stayed open.
    bool closeWindow(ScriptedUserInterface &ui) {
        if (frame == nullptr || !frame->isVisible()) return true;
        if (frame->logging().anyLogging()) ui.queueAnswer(MessageAnswer::Ok);
        ui.queueAnswer(MessageAnswer::No);
        return frame->close();
    }

    void shutDownApplication() {
        frame = nullptr;
        if (application) application->shutDown();
        application.reset();
    }
};

} // namespace korvel::test

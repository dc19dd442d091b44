// What the live windows cost the windowed logger: 20 simulated instruments of
// 30 channels logged by the main window's own logging loop, once with the
// live windows hidden and once with all four open (Quick Plot drawing 8
// traces, the logging status and current readings windows, and the Spy
// reading 8 channels once a second), as a ratio of the scans per second.
//
//   throughput: fast instruments (each scan fetch first makes the scans it
//               asks for), so the loop never rests; goal: the windows cost
//               less than 5 % of the scans per second.
//   idle:       one scan a second per instrument; the CPU time of the process
//               as a share of one core; goal: below 2 % with the windows open.
//
// usage: live_windows_bench [throughput|idle] [seconds per round]
#include "bench_instruments.h"
#include "process_cpu.h"

#include "app/command_line.h"
#include "shell/live_window_set.h"
#include "shell/main_frame.h"
#include "shell/qt_user_interface.h"
#include "shell/shell_application.h"
#include "shell/spy_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

namespace {

using namespace korvel;
using namespace korvel::bench;

constexpr int kRounds = 3;
constexpr int kPlottedChannels = 8;
constexpr int kFirstScanBoundMs = 15000;

// Channel 1 of the first eight instruments, plotted and spied on.
std::string plotSection() {
    std::ostringstream plot;
    plot << "[Plot]\r\nSampleInterval=1\r\nYMinMax=-5.000000,5.000000\r\nPlotChans=";
    for (int slot = 1; slot <= kPlottedChannels; ++slot) plot << (slot > 1 ? "," : "") << slot * 100 + 1;
    plot << "\r\n";
    return plot.str();
}

SpyChannelList spyChannels() {
    SpyChannelList channels{};
    for (int slot = 1; slot <= kPlottedChannels; ++slot)
        channels[slot - 1] = static_cast<std::uint32_t>(slot * 100 + 1);
    return channels;
}

struct Round {
    double seconds = 1e-9;
    double cpuSeconds = 0;
    long scans = 0;

    double scansPerSecond() const { return static_cast<double>(scans) / seconds; }
    double percentOfCore() const { return 100.0 * cpuSeconds / seconds; }
};

void runEventsFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The windowed logger's own user interface, but a message would wait for a
// user who is not there: it ends the benchmark instead.
class BenchUserInterface : public QtUserInterface {
public:
    MessageAnswer showMessage(const std::string &text, MessageIcon, MessageButtons) override { fail(text); }
};

class WindowedLogger {
public:
    WindowedLogger(ScanPace pace) : instruments_(pace, plotSection()) {
        CommandLine commandLine;
        commandLine.setupFile = instruments_.setupFile();
        application_ = std::make_unique<ShellApplication>(commandLine, ui_, [this](CMainFrame &frame) {
            ui_.setMainWindow(&frame);
            ui_.setLiveWindows(&frame.liveWindows());
        });
        if (!application_->start()) fail("the logger did not start");
        frame_ = application_->mainWindow();
        if (application_->instruments().count() != kInstruments) fail("the setup did not load every instrument");
        if (frame_->logging().commands().startAll().reply != ToolboxReply::Done)
            fail("Start All did not start every instrument");
        const long before = instruments_.fetchedScans();
        QElapsedTimer waited;
        waited.start();
        while (instruments_.fetchedScans() == before && waited.elapsed() < kFirstScanBoundMs) runEventsFor(100);
        if (instruments_.fetchedScans() == before) fail("no instrument delivered a scan");
        frame_->liveWindows().hideAll();
    }

    ~WindowedLogger() {
        frame_->logging().commands().stopAll(CommandSource::User);
        while (frame_->logging().anyLogging()) runEventsFor(50);
        frame_->liveWindows().hideAll();
        application_->document().setModified(false);
        frame_->close();
        application_->shutDown();
    }

    // The main window alone.
    Round hidden(int milliseconds) {
        Round round;
        measure(milliseconds, round, [] {});
        runEventsFor(milliseconds + 1);
        return round;
    }

    // The four windows open; the Spy's modal loop runs the logging meanwhile.
    Round windowsOpen(int milliseconds) {
        LiveWindowSet &live = frame_->liveWindows();
        live.showQuickPlot();
        live.toggleReadings();
        live.showLoggingStatus();
        live.engine().setSpyChannels(spyChannels());
        Round round;
        QTimer::singleShot(0, [&] {
            auto *selection = qobject_cast<SpySelectionDialog *>(QApplication::activeModalWidget());
            if (selection == nullptr) fail("the Spy channel selection did not open");
            selection->accept();
            measure(milliseconds, round, [&] {
                if (live.spyWindow() == nullptr) fail("the Spy window did not stay open");
                live.spyWindow()->reject();
            });
        });
        live.spy();
        live.hideAll();
        return round;
    }

private:
    // Counts from the next turn of the event loop for the period, then ends.
    void measure(int milliseconds, Round &round, std::function<void()> end) {
        QTimer::singleShot(0, [this, milliseconds, &round, end] {
            const long scans = instruments_.fetchedScans();
            const double cpu = processCpuSeconds();
            auto clock = std::make_shared<QElapsedTimer>();
            clock->start();
            QTimer::singleShot(milliseconds, [this, &round, end, scans, cpu, clock] {
                round = {static_cast<double>(clock->nsecsElapsed()) * 1e-9, processCpuSeconds() - cpu,
                         instruments_.fetchedScans() - scans};
                end();
            });
        });
    }

    BenchInstruments instruments_;
    BenchUserInterface ui_;
    std::unique_ptr<ShellApplication> application_;
    CMainFrame *frame_ = nullptr;
};

int throughput(int seconds) {
    WindowedLogger logger({true, 0.05});
    Round hidden;
    Round open;
    for (int round = 0; round < kRounds; ++round) {
        // Turn about which goes first, so that neither gains from the order.
        Round without;
        Round with;
        if (round % 2 == 0) without = logger.hidden(seconds * 1000);
        with = logger.windowsOpen(seconds * 1000);
        if (round % 2 != 0) without = logger.hidden(seconds * 1000);
        if (without.scansPerSecond() > hidden.scansPerSecond()) hidden = without;
        if (with.scansPerSecond() > open.scansPerSecond()) open = with;
        std::fprintf(stderr, "round %d: %.0f scans/s hidden, %.0f with the windows\n", round + 1,
                     without.scansPerSecond(), with.scansPerSecond());
    }
    const double ratio = open.scansPerSecond() / hidden.scansPerSecond();
    std::printf("%d instruments x %d channels in fast mode, %d s per round, best of %d rounds\n", kInstruments,
                kChannels, seconds, kRounds);
    std::printf("%-16s %10s\n", "", "scans/s");
    std::printf("%-16s %10.0f\n", "windows hidden", hidden.scansPerSecond());
    std::printf("%-16s %10.0f   %5.3f (goal 0.95) %s\n", "four windows", open.scansPerSecond(), ratio,
                ratio >= 0.95 ? "met" : "MISSED");
    return 0;
}

int idle(int seconds) {
    WindowedLogger logger({false, 1.0});
    const Round hidden = logger.hidden(seconds * 1000);
    const Round open = logger.windowsOpen(seconds * 1000);
    std::printf("%d instruments x %d channels, one scan a second each, %d s each\n", kInstruments, kChannels, seconds);
    std::printf("%-16s %8s %8s %9s\n", "", "scans/s", "cpu s", "of a core");
    for (const auto &[name, round] : {std::pair{"windows hidden", hidden}, std::pair{"four windows", open}})
        std::printf("%-16s %8.1f %8.3f %7.2f %%\n", name, round.scansPerSecond(), round.cpuSeconds,
                    round.percentOfCore());
    std::printf("four windows %.2f %% of a core (goal below 2 %%) %s\n", open.percentOfCore(),
                open.percentOfCore() < 2.0 ? "met" : "MISSED");
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string mode = argc > 1 ? argv[1] : "throughput";
    const int seconds = argc > 2 ? std::atoi(argv[2]) : (mode == "idle" ? 30 : 5);
    if (seconds <= 0 || (mode != "throughput" && mode != "idle"))
        fail("usage: live_windows_bench [throughput|idle] [seconds per round]");
    return mode == "idle" ? idle(seconds) : throughput(seconds);
}

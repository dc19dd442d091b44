#include "shell_application.h"

#include "library_pump.h"
#include "main_frame.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace korvel {

namespace {

constexpr const char *kRecentFilesName = "korvmru.ini";

} // namespace

ShellApplication::ShellApplication(CommandLine commandLine, UserInterface &ui,
                                   std::function<void(CMainFrame &)> mainWindowCreated)
        : ui_(ui), mainWindowCreated_(std::move(mainWindowCreated)), paths_(StartupPaths::ofThisProcess()),
          recentFiles_(paths_.programDirectory + kRecentFilesName),
          windows_(singleInstance_, recentFiles_, state_.liveValues, [this] { return createMainWindow(); }),
          startup_(state_.startupTarget(), windows_, ui_, std::move(commandLine), paths_) {}

ShellApplication::~ShellApplication() { setupHost_.setMainWindow(nullptr); }

bool ShellApplication::start() {
    installLibraryPump(link_);
    if (!startup_.start()) return false;
    frame_->setupOpened();
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, frame_.get(), [this](QSessionManager &manager) {
        frame_->commitData(manager, startup_.commandLine().surviveLogOff);
    });
    return true;
}

// The logging runs and their data files end with the main window, before
// the library stops.
void ShellApplication::shutDown() {
    setupHost_.setMainWindow(nullptr);
    frame_.reset();
    startup_.shutDown();
    removeLibraryPump(link_);
}

CMainFrame *ShellApplication::createMainWindow() {
    frame_ = std::make_unique<CMainFrame>(MainFrameTarget{state_.sessionTarget(paths_.programDirectory), state_.options,
                                                          recentFiles_, state_.plot, state_.toolbox},
                                          ui_, clock_);
    setupHost_.setMainWindow(frame_.get());
    if (mainWindowCreated_) mainWindowCreated_(*frame_);
    frame_->show();
    return frame_.get();
}

} // namespace korvel

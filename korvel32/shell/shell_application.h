// The windowed logger's application object: the setup with its options and
// settings, the document, the recent files and the main window, started and
// shut down in the order of ApplicationStartup.
#pragma once

#include "app/application_startup.h"
#include "app/application_state.h"
#include "link/instrument_link.h"
#include "platform/clock.h"
#include "recent_file_list.h"
#include "shell_setup_host.h"
#include "shell_window_steps.h"
#include "single_instance.h"

#include <functional>
#include <memory>

namespace korvel {

class CMainFrame;

class ShellApplication {
public:
    // mainWindowCreated lets the caller attach its user interface's windows.
    ShellApplication(CommandLine commandLine, UserInterface &ui,
                     std::function<void(CMainFrame &)> mainWindowCreated = {});
    ~ShellApplication();
    ShellApplication(const ShellApplication &) = delete;
    ShellApplication &operator=(const ShellApplication &) = delete;

    // False when start-up ends; the reason has been shown.
    bool start();
    // Once the main window has closed: the window goes, then the exit steps.
    void shutDown();

    CMainFrame *mainWindow() { return frame_.get(); }
    const InstrumentTable &instruments() const { return state_.table; }
    CSetupDoc &document() { return state_.document; }

private:
    CMainFrame *createMainWindow();

    UserInterface &ui_;
    std::function<void(CMainFrame &)> mainWindowCreated_;
    SystemClock clock_;
    InstrumentLink link_;
    ShellSetupHost setupHost_;
    ApplicationState state_{link_, setupHost_, ui_};
    StartupPaths paths_;
    SingleInstance singleInstance_;
    RecentFileList recentFiles_;
    ShellWindowSteps windows_;
    ApplicationStartup startup_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace korvel

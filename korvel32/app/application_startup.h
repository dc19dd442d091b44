// The life of the korvel32 process from launch to exit, as far as it needs no
// window: the library's start, the communications configuration, the regional
// formats and settings, the first setup, and the ordered shutdown. The steps
// that need windows are called through StartupWindowSteps at their place in
// the order.
#pragma once

#include "app/application_settings.h"
#include "app/command_line.h"
#include "platform/regional_formats.h"
#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/setup_doc.h"
#include "setup/setup_template.h"

#include <string>

namespace korvel {

class InstrumentLink;

inline constexpr const char *kWindowClassFailed = "Error registering window class!";
inline constexpr const char *kResourceLibraryFailed = "Unable to access library \"KORRES32.DLL\"";
inline constexpr const char *kLibraryInUse = "Korvel Logger Communications Library already in use!";
inline constexpr const char *kWindowCreationFailed = "Window creation failed!";

// What the window layer adds to start-up and shutdown. Here every step does
// nothing and every step that can fail succeeds; the Qt shell overrides them.
// A step that fails shows nothing itself: start-up shows the message.
class StartupWindowSteps {
public:
    virtual ~StartupWindowSteps() = default;

    // Before the library starts.
    virtual bool registerWindowClasses() { return true; }
    // True when another copy runs: it has been brought forward and this copy
    // ends quietly.
    virtual bool anotherCopyBroughtForward() { return false; }
    virtual void loadRecentFileList() {}
    virtual bool startDdeServer() { return true; }
    // Loads the resource library when one lies in the program directory.
    virtual bool loadResourceLibrary(const std::string & /*programDirectory*/) { return true; }

    // After the communications configuration is known.
    virtual void showSplash() {}
    // Called only when the toolbox is enabled; false turns it off for this run
    // (the toolbox link shows its own messages).
    virtual bool loadToolbox() { return true; }
    // The empty setup's window, before the first setup is filled.
    virtual bool createSetupWindow() { return true; }
    // The instrument start-up put into an empty setup: select it and tell the
    // toolbox about it.
    virtual void firstInstrumentAdded(int /*slot*/) {}
    virtual void acceptDroppedFiles() {}
    virtual void adjustMenus(bool /*calibrationCommand*/, bool /*toolboxEnabled*/) {}
    virtual void startAllInstruments() {}

    // Shutdown, before and after the library stops.
    virtual void unloadResourceLibrary() {}
    virtual void stopDdeServer() {}
    virtual void shutDownToolbox() {}
    virtual void shutDownTrendLink() {}
    virtual void finishFrameworkExit() {}
};

struct StartupPaths {
    std::string programDirectory;     // ends in '/'
    std::string regionalSettingsPath; // the file with the [intl] section

    // The running program's directory and the user's regional settings.
    static StartupPaths ofThisProcess();
};

// What start-up fills in; the application object owns all of it.
struct StartupTarget {
    InstrumentLink &link;
    SetupTemplate &setupTemplate;
    InstrumentTable &instruments;
    LoggerOptions &options;
    CSetupDoc &document;
    RegionalFormats &regional;
    ApplicationSettings &settings;
};

class ApplicationStartup {
public:
    ApplicationStartup(StartupTarget target, StartupWindowSteps &windows, UserInterface &ui, CommandLine commandLine,
                       StartupPaths paths);

    // Every start-up step in order. False when start-up ends: the reason has
    // been shown (except for another running copy) and the process ends
    // without shutDown, leaving a started library to the process's end.
    bool start();

    // After the main window has closed and every instrument is gone: the
    // exit steps in order, the library's stop among them.
    void shutDown();

    const CommandLine &commandLine() const { return commandLine_; }
    bool networkModeNotGeneral() const { return networkModeNotGeneral_; }
    bool toolboxEnabled() const { return toolboxEnabled_; }

private:
    bool fail(const std::string &message);
    bool openFirstSetup();
    bool createFirstSetup();

    StartupTarget target_;
    StartupWindowSteps &windows_;
    UserInterface &ui_;
    CommandLine commandLine_;
    StartupPaths paths_;
    bool networkModeNotGeneral_ = true;
    bool toolboxEnabled_ = false;
};

} // namespace korvel

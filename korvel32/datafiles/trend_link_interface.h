// The logger's side of Trend Link as every data set, conversion and window
// command reaches it: the historian library loaded at first use from the
// Trend Link directory of korvel32.ini (asking for another directory while
// it cannot be loaded), the chart program's place and window title, the
// screen the charts are sized for, the free disk space, and the messages
// that name a failing historian function.
#pragma once

#include "datafiles/trend_link_library.h"
#include "platform/free_disk_space.h"
#include "platform/user_interface.h"
#include "setup/instrument_setup.h"

#include <functional>
#include <optional>
#include <string>

namespace korvel {

// Shown after "Unable to load Trend Link DLL!": the directory the user
// chose instead of current, or nullopt when the choice was cancelled.
using TrendLinkDirectoryChooser = std::function<std::optional<std::string>(const std::string &current)>;

struct TrendLinkPaths {
    std::string programDirectory; // libtimecn32.so and the chart template tldef.cht
    std::string settingsPath;     // korvel32.ini
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// How Show Trend Link finds or starts the chart program for an instrument.
struct ChartProgramStart {
    std::string program;     // the chart program's file
    std::string chartFile;   // the instrument's chart file; empty when it has none yet
    std::string windowTitle; // the title of its chart window; empty: any chart window
};

class TrendLinkInterface {
public:
    TrendLinkInterface(TrendLinkLibrary &library, UserInterface &ui);

    void setPaths(TrendLinkPaths paths) { paths_ = std::move(paths); }
    void setDirectoryChooser(TrendLinkDirectoryChooser chooser) { chooser_ = std::move(chooser); }
    // Unknown (headless): the charts keep the template's window size.
    void setScreenSize(ScreenSize size) { screen_ = size; }
    void setFreeDiskSpace(const FreeDiskSpace &freeSpace) { freeSpace_ = &freeSpace; }

    const TrendLinkPaths &paths() const { return paths_; }
    const std::optional<ScreenSize> &screenSize() const { return screen_; }
    const FreeDiskSpace &freeDiskSpace() const { return *freeSpace_; }
    TrendLinkLibrary &library() { return library_; }
    UserInterface &ui() { return ui_; }

    // TLDIR as korvel32.ini holds it, and the directory it names here: a
    // setting that is no absolute path (such as the Windows default) names
    // the program directory, where the Trend Link programs are installed.
    std::string directorySetting() const;
    std::string directory() const;
    // False when korvel32.ini could not be written.
    bool writeDirectorySetting(const std::string &directory) const;

    // First use: loads and starts the historian. While it cannot be loaded
    // the user is told (1376) and asked for the directory; a directory that
    // worked is written back. A library lacking a function is refused
    // (1377). False when Trend Link cannot be used; the user has been told.
    bool load();
    bool loaded() const { return library_.loaded(); }
    // Shutdown: the libraries are unloaded.
    void unload() { library_.unload(); }

    // The chart program of an instrument whose data file setup is given (for
    // a Slave its Master's); nullptr or a file of another format: any chart.
    ChartProgramStart chartProgramStart(const DataFileSetup *file) const;

    // The modal message of a failure, with the exclamation icon.
    void showMessage(const std::string &text);
    // 1386: the instrument's historian function failed, with its reason.
    void showFunctionFailure(unsigned bcn, const char *function);
    // The historian's last error was a full disk (9105).
    bool diskFull() { return library_.getLastErrorNumber() == TBASE_E_DISK_FULL; }

private:
    std::string setting(const char *key, const char *defaultValue, std::size_t bufferSize) const;
    std::string directoryOf(const std::string &setting) const;

    TrendLinkLibrary &library_;
    UserInterface &ui_;
    TrendLinkPaths paths_;
    TrendLinkDirectoryChooser chooser_;
    std::optional<ScreenSize> screen_;
    FreeDiskSpace systemFreeSpace_;
    const FreeDiskSpace *freeSpace_ = &systemFreeSpace_;
};

} // namespace korvel

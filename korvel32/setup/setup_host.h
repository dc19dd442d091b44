// What loading and saving a setup needs from the windows and the toolbox
// around it. The shell implements it; every step does nothing by default
// (only the plot window's place is kept, below), so a headless caller or a
// test overrides only what it watches.
#pragma once

#include "setup/logger_options.h"

#include <cstdint>
#include <string>

namespace korvel {

class SetupHost {
public:
    virtual ~SetupHost() = default;

    // A setup cannot be opened or closed while any instrument logs.
    virtual bool anyInstrumentLogging() const { return false; }
    // Clear deletes the instruments only once the main window exists.
    virtual bool mainWindowExists() const { return true; }

    // Before a save: the toolbar and status bar flags and the splitter height
    // as the main window shows them now.
    virtual void refreshWindowState(LoggerOptions &) {}
    // After the options of a record-form file are read: bars and splitter.
    virtual void applyWindowState(const LoggerOptions &) {}
    // Both windows move only when neither minimized nor maximized.
    virtual void moveMainWindow(const WindowRect &) {}
    // Without a plot window its place stays as the setup file gave it, so
    // that saving the setup again writes it back unchanged.
    virtual WindowRect plotWindowRect() const { return plotWindow_; }
    virtual void movePlotWindow(const WindowRect &rect) { plotWindow_ = rect; }

    // Quick Plot's settings were reset (Clear) or loaded (Open).
    virtual void plotSettingsReset() {}
    virtual void plotSettingsLoaded() {}
    // After an open the first instrument of the instrument bar is selected.
    virtual void selectFirstInstrument() {}
    // The setup's file or its modified flag changed (the window title shows
    // both): after every open, save, clear and change of the flag.
    virtual void documentChanged(const std::string & /*pathName*/, bool /*modified*/) {}

    // The toolbox link: its scan queue per instrument and the setup's name.
    virtual bool toolboxActive() const { return false; }
    virtual bool allocateToolboxQueue(unsigned /*bcn*/, std::uint32_t /*bytes*/) { return true; }
    virtual void toolboxSetupFile(const std::string & /*path*/) {}

private:
    WindowRect plotWindow_;
};

} // namespace korvel

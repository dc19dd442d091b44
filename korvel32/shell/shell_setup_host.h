// The setup document's view of the windows: the main window once it exists.
#pragma once

#include "setup/setup_host.h"

namespace korvel {

class CMainFrame;

class ShellSetupHost : public SetupHost {
public:
    void setMainWindow(CMainFrame *frame) { frame_ = frame; }

    bool anyInstrumentLogging() const override;
    bool mainWindowExists() const override { return frame_ != nullptr; }
    void refreshWindowState(LoggerOptions &options) override;
    void applyWindowState(const LoggerOptions &options) override;
    void moveMainWindow(const WindowRect &rect) override;
    void selectFirstInstrument() override;
    void documentChanged(const std::string &pathName, bool modified) override;

private:
    CMainFrame *frame_ = nullptr;
};

} // namespace korvel

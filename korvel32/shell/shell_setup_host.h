// The setup document's view of the windows: the main window once it exists,
// and the toolbox add-on.
#pragma once

#include "app/toolbox_setup_host.h"

namespace korvel {

class CMainFrame;

class ShellSetupHost : public ToolboxSetupHost {
public:
    void setMainWindow(CMainFrame *frame) { frame_ = frame; }

    bool anyInstrumentLogging() const override;
    bool mainWindowExists() const override { return frame_ != nullptr; }
    void refreshWindowState(LoggerOptions &options) override;
    void applyWindowState(const LoggerOptions &options) override;
    void moveMainWindow(const WindowRect &rect) override;
    void selectFirstInstrument() override;
    WindowRect plotWindowRect() const override;
    void movePlotWindow(const WindowRect &rect) override;
    void plotSettingsReset() override { restartPlot(); }
    void plotSettingsLoaded() override { restartPlot(); }
    void documentChanged(const std::string &pathName, bool modified) override;

private:
    void restartPlot();

    CMainFrame *frame_ = nullptr;
};

} // namespace korvel

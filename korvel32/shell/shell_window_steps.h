// The start-up and shutdown steps that need windows: the single-instance
// check, the recent files, the splash, the main window, dropped files, the
// menu adjustment and the /G start.
#pragma once

#include "app/application_startup.h"

#include <functional>

namespace korvel {

class CMainFrame;
class RecentFileList;
class SingleInstance;

class ShellWindowSteps : public StartupWindowSteps {
public:
    // createMainWindow makes and shows the main window; nullptr on failure.
    ShellWindowSteps(SingleInstance &singleInstance, RecentFileList &recentFiles,
                     std::function<CMainFrame *()> createMainWindow)
            : singleInstance_(singleInstance), recentFiles_(recentFiles),
              createMainWindow_(std::move(createMainWindow)) {}

    bool anotherCopyBroughtForward() override;
    void loadRecentFileList() override;
    void showSplash() override;
    bool createSetupWindow() override;
    void firstInstrumentAdded(int slot) override;
    void acceptDroppedFiles() override;
    void adjustMenus(bool calibrationCommand, bool toolboxEnabled) override;
    void startAllInstruments() override;
    void shutDownTrendLink() override;

private:
    SingleInstance &singleInstance_;
    RecentFileList &recentFiles_;
    std::function<CMainFrame *()> createMainWindow_;
    CMainFrame *frame_ = nullptr;
};

} // namespace korvel

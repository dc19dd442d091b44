// The start-up and shutdown steps that need windows: the single-instance
// check, the recent files, the live-values service served from the event
// loop, the splash, the main window, dropped files, the menu adjustment and
// the /G start.
#pragma once

#include "app/application_startup.h"
#include "live_values_notifiers.h"

#include <functional>
#include <memory>

namespace korvel {

class CMainFrame;
class LiveValuesService;
class RecentFileList;
class SingleInstance;

class ShellWindowSteps : public StartupWindowSteps {
public:
    // createMainWindow makes and shows the main window; nullptr on failure.
    ShellWindowSteps(SingleInstance &singleInstance, RecentFileList &recentFiles, LiveValuesService &liveValues,
                     std::function<CMainFrame *()> createMainWindow)
            : singleInstance_(singleInstance), recentFiles_(recentFiles), liveValues_(liveValues),
              createMainWindow_(std::move(createMainWindow)) {}

    bool anotherCopyBroughtForward() override;
    void loadRecentFileList() override;
    bool startDdeServer() override;
    void stopDdeServer() override;
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
    LiveValuesService &liveValues_;
    std::unique_ptr<LiveValuesNotifiers> liveValuesNotifiers_;
    std::function<CMainFrame *()> createMainWindow_;
    CMainFrame *frame_ = nullptr;
};

} // namespace korvel

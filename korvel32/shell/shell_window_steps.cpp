#include "shell_window_steps.h"

#include "app/live_values_protocol.h"
#include "app/live_values_service.h"
#include "main_frame.h"
#include "recent_file_list.h"
#include "shell_icons.h"
#include "single_instance.h"
#include "splash_window.h"

#include <iostream>
#include <trend_window_link.h>

namespace korvel {

bool ShellWindowSteps::anotherCopyBroughtForward() { return singleInstance_.anotherCopyBroughtForward(); }

void ShellWindowSteps::loadRecentFileList() { recentFiles_.load(); }

// The window always serves under the program's own name.
bool ShellWindowSteps::startDdeServer() {
    if (!liveValues_.start(live_protocol::kDefaultService, std::cerr)) return false;
    liveValuesNotifiers_ = std::make_unique<LiveValuesNotifiers>(liveValues_);
    return true;
}

void ShellWindowSteps::stopDdeServer() {
    liveValuesNotifiers_.reset();
    liveValues_.stop();
}

void ShellWindowSteps::showSplash() { korvel::showSplash(splashPixmap()); }

bool ShellWindowSteps::createSetupWindow() {
    frame_ = createMainWindow_();
    if (frame_ == nullptr) return false;
    singleInstance_.listen(frame_);
    return true;
}

void ShellWindowSteps::firstInstrumentAdded(int slot) { frame_->selectInstrument(slot); }

void ShellWindowSteps::acceptDroppedFiles() { frame_->setAcceptDrops(true); }

void ShellWindowSteps::adjustMenus(bool calibrationCommand, bool toolboxEnabled) {
    frame_->adjustMenus(calibrationCommand, toolboxEnabled);
}

void ShellWindowSteps::startAllInstruments() { frame_->startAllInstruments(); }

// Chart windows are charts of the logger's data sets: they go with it.
void ShellWindowSteps::shutDownTrendLink() { tl32::closeTrendWindows(); }

} // namespace korvel

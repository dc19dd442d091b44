#include "shell_setup_host.h"

#include "live_window_set.h"
#include "main_frame.h"
#include "quick_plot_window.h"

namespace korvel {

bool ShellSetupHost::anyInstrumentLogging() const { return frame_ != nullptr && frame_->logging().anyLogging(); }

void ShellSetupHost::refreshWindowState(LoggerOptions &options) {
    if (frame_ != nullptr) frame_->refreshWindowState(options);
}

void ShellSetupHost::applyWindowState(const LoggerOptions &options) {
    if (frame_ != nullptr) frame_->applyWindowState(options);
}

void ShellSetupHost::moveMainWindow(const WindowRect &rect) {
    if (frame_ != nullptr) frame_->moveToRect(rect);
}

void ShellSetupHost::selectFirstInstrument() {
    if (frame_ == nullptr) return;
    const auto shown = frame_->instrumentBar().slotsInOrder();
    if (!shown.empty()) frame_->selectInstrument(shown.front());
}

// Whoever changes the setup marks the document modified; the title follows
// from here, so no command has to remember it.
void ShellSetupHost::documentChanged(const std::string &, bool) {
    if (frame_ != nullptr) frame_->updateTitle();
}

WindowRect ShellSetupHost::plotWindowRect() const {
    return frame_ != nullptr ? frame_->liveWindows().quickPlot().place() : SetupHost::plotWindowRect();
}

void ShellSetupHost::movePlotWindow(const WindowRect &rect) {
    if (frame_ != nullptr) {
        frame_->liveWindows().quickPlot().moveToPlace(rect);
    } else {
        SetupHost::movePlotWindow(rect);
    }
}

// The plot starts over with the settings the setup now holds.
void ShellSetupHost::restartPlot() {
    if (frame_ != nullptr)
        frame_->liveWindows().engine().notify(ChildWindow::QuickPlot, quick_plot::kSettingsChanged, 0, 0);
}

} // namespace korvel

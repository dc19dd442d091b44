#include "shell_setup_host.h"

#include "main_frame.h"

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

} // namespace korvel

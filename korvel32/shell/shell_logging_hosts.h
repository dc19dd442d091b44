// The windowed logger's part in the logging: what the engine tells the
// windows comes out as signals of ShellLogging, which the main window follows.
#pragma once

#include "logging/logging_front_end.h"

#include <functional>
#include <utility>

namespace korvel {

class ShellLogging;

// The window's part: the selected instrument and whether a modal dialog is
// open.
struct ShellLoggingWindow {
    std::function<int()> selectedSlot;
    std::function<bool()> mainWindowEnabled;
};

class ShellFrontEnd : public LoggingFrontEnd {
public:
    ShellFrontEnd(ShellLoggingWindow window, ShellLogging &owner) : window_(std::move(window)), owner_(owner) {}

    void showLoggingStatus() override;
    void redrawIcon(int slot) override;
    void refreshSelectedInstrument(int slot) override;
    bool mainWindowEnabled() const override { return window_.mainWindowEnabled(); }
    void configurationChanged() override;
    int selectedSlot() const override { return window_.selectedSlot(); }
    void raiseLoggingStatusOnAlarm() override;

private:
    ShellLoggingWindow window_;
    ShellLogging &owner_;
};

} // namespace korvel

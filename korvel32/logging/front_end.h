// What the logging reaches besides the instruments and the data files: the
// user, the front end's windows, the toolbox add-on and the live-values
// service. The Qt shell, the headless logger and the tests each hand these to
// the logging core.
#pragma once

#include "logging/live_values.h"
#include "logging/logging_windows.h"
#include "logging/toolbox_link.h"
#include "platform/user_interface.h"

namespace korvel {

struct FrontEnd {
    UserInterface &ui;
    LoggingWindows &windows;
    ToolboxLink &toolbox;
    LiveValues &liveValues;
};

} // namespace korvel

// The remote commands' view of a logger with no main window and no toolbox:
// never any user input or modal dialog, no toolbox paths, and replies that go
// nowhere.
#pragma once

#include "acquisition/remote_commands.h"

namespace korvel {

class HeadlessRemoteHost : public RemoteCommandHost {
public:
    bool userInputWaiting() const override { return false; }
    bool mainWindowEnabled() const override { return true; }
    std::string toolboxFilePath(ToolboxPath) override { return {}; }
    void toolboxRemoteMode(bool) override {}
    void toolboxReply(std::uint16_t, std::int32_t) override {}
    void configurationChanged() override {}
};

} // namespace korvel

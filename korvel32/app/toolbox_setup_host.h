// The setup document's way to the toolbox add-on, for every front end: the
// scan queue and channels of each instrument a setup brings, and the setup
// file's name. The front end's own host derives from it for the windows.
#pragma once

#include "app/toolbox_add_on.h"
#include "setup/setup_host.h"

namespace korvel {

class ToolboxSetupHost : public SetupHost {
public:
    void attachToolbox(ToolboxAddOn &toolbox) { toolbox_ = &toolbox; }

    bool toolboxActive() const override { return toolbox_ != nullptr && toolbox_->loaded(); }
    bool allocateToolboxQueue(unsigned bcn, std::uint32_t bytes) override { return toolbox_->setQueue(bcn, bytes); }
    void toolboxSetupFile(const std::string &path) override { toolbox_->setupFile(path); }

private:
    ToolboxAddOn *toolbox_ = nullptr;
};

} // namespace korvel

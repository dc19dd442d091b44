// The setup document: clears, opens and saves the setup that the application
// holds, and carries its modified flag. It owns none of the setup; every
// question and message goes through the user interface.
#pragma once

#include "platform/regional_formats.h"
#include "platform/user_interface.h"
#include "setup/setup_load.h"

#include <functional>
#include <string>

namespace korvel {

class CSetupDoc {
public:
    CSetupDoc(SetupTarget target, UserInterface &ui, const RegionalFormats &regional);

    // New, and the opening of an empty file: the default options and, once
    // the main window exists, no instruments and Quick Plot's defaults. The
    // modified flag is cleared.
    void clear();

    // Both report their own failures with a message; refused without one
    // while an instrument logs (open).
    bool open(const std::string &path);
    bool save(const std::string &path);

    // Whether closing the setup may go on. A modified setup asks message 5;
    // Yes runs saveCommand (which may ask for a name) and goes on only when the
    // setup is no longer modified afterwards.
    bool saveBeforeClose(const std::function<void()> &saveCommand);

    bool modified() const { return modified_; }
    // Every change of the flag goes through here, so the host hears of it.
    void setModified(bool modified);
    // The file last opened or saved; empty for a new setup.
    const std::string &pathName() const { return pathName_; }

private:
    bool finishOpen(const LoadOutcome &outcome, const std::string &path, bool textForm);
    void showError(int messageId, const std::string &suffix = {});
    std::string invalidBcnList(const std::vector<unsigned> &bcns) const;
    void setPathName(const std::string &path);

    SetupTarget target_;
    UserInterface &ui_;
    const RegionalFormats &regional_;
    bool modified_ = false;
    std::string pathName_;
};

} // namespace korvel

// One instrument of an open setup, changed as a user changes it: the
// Instrument Configuration dialog opened on a working copy, the lower
// dialogs accepted into it, and its OK before the setup is saved. A refusal
// anywhere prints the logger's message and leaves every file alone.
#pragma once

#include "command_words.h"
#include "setup_session.h"

#include "setup/instrument_configuration_rules.h"

#include <optional>
#include <string>

// The message of a refused entry, as failure() prints it.
template <typename Refused>
int refusedWith(const Refused &refusal) {
    return failure(refusal.text);
}

class InstrumentEdit {
public:
    // None, after saying so, when the setup has no instrument with this BCN.
    static std::optional<InstrumentEdit> open(SetupSession &session, unsigned bcn);

    int slot() const { return slot_; }
    const korvel::InstrumentIdentity &identity() const { return identity_; }
    korvel::InstrumentConfigurationModel &instrument() { return instrument_; }

    // Channels... of the Instrument Configuration dialog.
    korvel::ChannelsConfigurationModel channels() const;
    // OK of Channels Configuration, then of Instrument Configuration, then the save.
    int finishChannels(korvel::ChannelsConfigurationModel &channels, const std::string &outPath);
    // OK of Instrument Configuration; the instrument takes the working copy and
    // the setup is saved to outPath.
    int finish(const std::string &outPath);

private:
    InstrumentEdit(SetupSession &session, int slot);

    SetupSession *session_;
    int slot_;
    korvel::InstrumentIdentity identity_;
    korvel::InstrumentConfigurationModel instrument_;
};

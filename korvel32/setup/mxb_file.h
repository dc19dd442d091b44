// Loading an Mx+B file into one instrument of the setup, from the menu or as
// a remote command of the toolbox. A file that is refused leaves the
// instrument as it was.
#pragma once

#include "platform/toolbox_reply.h"
#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/slot_logging.h"

#include <cstdint>
#include <string>

namespace korvel {

// An Mx+B file is small; a larger one is refused unread.
constexpr std::uintmax_t kMxbFileMaximumSize = 1000;

enum class MxbLoadResult {
    Applied,   // the instrument's configuration changed
    Unchanged, // every line named an OFF channel: nothing changes and nothing is shown
    Refused,   // message 21, 47 or 48 was shown; the instrument is as it was
};

// Reads the file into the setup of the slot and tells Quick Plot when it
// changed; the caller then marks the setup modified and refreshes the main
// window for the selected instrument.
MxbLoadResult loadMxbFile(InstrumentTable &table, int slot, const std::string &path, char decimalSymbol,
                          UserInterface &ui);

// The toolbox's form: the instrument by BCN and the file relative to the
// program directory unless absolute. Problems with the file's contents are
// shown as in the menu form; changed tells the caller to mark the setup
// modified.
struct MxbRemoteResult {
    ToolboxReply reply = ToolboxReply::Done;
    bool changed = false;
};
MxbRemoteResult loadMxbFileRemotely(InstrumentTable &table, unsigned bcn, const std::string &fileName,
                                    const std::string &programDirectory, const SlotLogging &logging, char decimalSymbol,
                                    UserInterface &ui);

} // namespace korvel

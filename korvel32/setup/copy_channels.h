// Copy Channels: every channel definition of the selected instrument copied
// onto other instruments, repaired where the target's model lacks a range.
#pragma once

#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/slot_logging.h"

#include <string>
#include <vector>

namespace korvel {

struct CopyTarget {
    int slot = 0;
    std::string text; // "%02u  %s": BCN and model
};

// Every instrument but the source, in slot order, as the dialog lists them.
std::vector<CopyTarget> copyTargets(const InstrumentTable &table, int sourceSlot);

// Channels 1..30 of source onto target, with the model repairs, the
// temperature labels of the target's units and the equation texts. The
// target's header stays, except a monitor channel left naming an OFF channel.
void copyChannelDefinitions(const InstrumentSetup &source, ModelCode sourceModel, InstrumentSetup &target,
                            ModelCode targetModel);

enum class CopyOutcome {
    Cancelled, // nothing selected: the dialog closes as by Cancel
    KeepOpen,  // the user declined copying to another model
    Copied,    // the dialog closes and the setup is marked modified
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Cancelled;
    std::vector<int> changedSlots; // their toolbox queues need re-sizing
};

// OK of the dialog. A logging target is skipped with message 30 and the
// others still receive the channels; Quick Plot is told of each change.
CopyResult copyChannels(InstrumentTable &table, int sourceSlot, const std::vector<int> &targetSlots,
                        const SlotLogging &logging, UserInterface &ui);

} // namespace korvel

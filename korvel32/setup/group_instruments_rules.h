// The Group Instruments dialog: each instrument's role (Async, Master or
// Slave) and whether the group is externally wired. Its changes take effect
// on the instrument table at once; the questions it asks before demoting a
// Master go through the user interface.
#pragma once

#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <string>
#include <vector>

namespace korvel {

enum class GroupControl { Instruments, Async, Master, Slave, ExternallyWired };

class GroupInstrumentsModel {
public:
    // The first instrument of the list starts selected.
    GroupInstrumentsModel(InstrumentTable &table, LoggerOptions &options);

    // The instruments in BCN order as "%02u (%s)" (BCN, role), and their slots.
    std::vector<std::string> lines() const;
    const std::vector<int> &listedSlots() const { return slots_; }

    int selectedSlot() const { return selected_; }
    void selectSlot(int slot);
    GroupRole selectedRole() const;

    // Slave needs a Master that is another instrument; the wired box a Master.
    bool enabled(GroupControl control) const;

    // The selected instrument takes the role. Demoting the Master of Slaves
    // asks 690 (then all become Async); a new Master while another exists
    // asks 691 (the old one becomes a Slave) or 692 (it becomes Async) as the
    // chosen one was a Slave or Async. No keeps every role. True when a role
    // changed.
    bool chooseRole(GroupRole role, UserInterface &ui);

    bool externallyWired() const { return options_.wiredGroup; }
    void setExternallyWired(bool on);

private:
    bool slavesExist() const;

    InstrumentTable &table_;
    LoggerOptions &options_;
    std::vector<int> slots_;
    int selected_ = 0;
};

} // namespace korvel

#include "setup/group_instruments_rules.h"

#include "platform/string_table.h"
#include "setup/text_format.h"

#include <algorithm>

namespace korvel {

namespace {

bool confirmed(UserInterface &ui, int messageId) { return askedYes(ui, resourceString(messageId)); }

} // namespace

GroupInstrumentsModel::GroupInstrumentsModel(InstrumentTable &table, LoggerOptions &options)
        : table_(table), options_(options), slots_(table.slotsInBcnOrder()) {
    if (!slots_.empty()) selected_ = slots_.front();
}

std::vector<std::string> GroupInstrumentsModel::lines() const {
    std::vector<std::string> texts;
    for (const int slot : slots_) {
        const InstrumentSlot &entry = table_.slot(slot);
        texts.push_back(formatted("%02u (%s)", unsigned{entry.bcn}, resourceString(codeValue(entry.role)).c_str()));
    }
    return texts;
}

void GroupInstrumentsModel::selectSlot(int slot) {
    if (std::find(slots_.begin(), slots_.end(), slot) != slots_.end()) selected_ = slot;
}

GroupRole GroupInstrumentsModel::selectedRole() const {
    return selected_ == 0 ? GroupRole::Async : table_.slot(selected_).role;
}

bool GroupInstrumentsModel::enabled(GroupControl control) const {
    const bool masterExists = table_.masterSlot() != 0;
    switch (control) {
        case GroupControl::Slave: return selected_ != 0 && masterExists && table_.masterSlot() != selected_;
        case GroupControl::ExternallyWired: return masterExists;
        case GroupControl::Instruments: return true;
        default: return selected_ != 0;
    }
}

bool GroupInstrumentsModel::chooseRole(GroupRole role, UserInterface &ui) {
    if (selected_ == 0 || role == selectedRole()) return false;
    const int master = table_.masterSlot();
    switch (role) {
        case GroupRole::Async:
            if (selected_ == master && slavesExist()) {
                if (!confirmed(ui, message::kSlavesBecomeAsync)) return false;
                table_.makeAllAsync();
                return true;
            }
            table_.setRole(selected_, GroupRole::Async);
            return true;
        case GroupRole::Master:
            if (master != 0) {
                const bool fromSlave = selectedRole() == GroupRole::Slave;
                if (!confirmed(ui, fromSlave ? message::kMasterBecomesSlave : message::kMasterBecomesAsync))
                    return false;
                table_.setRole(master, fromSlave ? GroupRole::Slave : GroupRole::Async);
            }
            table_.setRole(selected_, GroupRole::Master);
            return true;
        case GroupRole::Slave:
            if (!enabled(GroupControl::Slave)) return false;
            table_.setRole(selected_, GroupRole::Slave);
            return true;
    }
    return false;
}

void GroupInstrumentsModel::setExternallyWired(bool on) {
    if (enabled(GroupControl::ExternallyWired)) options_.wiredGroup = on;
}

bool GroupInstrumentsModel::slavesExist() const {
    return std::any_of(slots_.begin(), slots_.end(),
                       [this](int slot) { return table_.slot(slot).role == GroupRole::Slave; });
}

} // namespace korvel

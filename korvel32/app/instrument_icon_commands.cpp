#include "app/instrument_icon_commands.h"

#include "platform/string_table.h"
#include "setup/bcn_lookup.h"
#include "setup/ccf_list_line.h"
#include "setup/ccf_network_mode.h"

#include <cstdio>

namespace korvel {
namespace {

constexpr const char *kNoneAvailable = "No instruments are available for association!";

std::string deleteQuestion(unsigned bcn) {
    char text[80];
    std::snprintf(text, sizeof text, "Instrument %02u:  Configuration will be lost!  Delete anyway?", bcn);
    return text;
}

} // namespace

std::vector<AvailableInstrument> availableInstruments(InstrumentLink &link, const InstrumentTable &table,
                                                      UserInterface &ui, const std::string &programDirectory) {
    if (readOrCreateNetworkMode(link, programDirectory) < 0) {
        showError(ui, message::kCcfUnreadable);
        return {};
    }
    std::vector<AvailableInstrument> available;
    const std::int32_t entries = link.ccfNumEntries();
    for (std::int32_t index = 0; index < entries; ++index) {
        CcfEntry entry;
        if (link.ccfGetEntry(static_cast<std::uint32_t>(index), entry) < 0) {
            showError(ui, message::kCcfUnreadable);
            return {};
        }
        const auto bcn = static_cast<unsigned>(entry.bcn);
        if (table.find(bcn) == 0) available.push_back({bcn, ccfListLine(entry, false)});
    }
    if (entries < 0) {
        showError(ui, message::kCcfUnreadable);
    } else if (available.empty()) {
        ui.showMessage(kNoneAvailable, MessageIcon::Information, MessageButtons::Ok);
    }
    return available;
}

InstrumentIconCommands::InstrumentIconCommands(InstrumentTable &table, CSetupDoc &document, InstrumentLink &link,
                                               ToolboxAddOn &toolbox, UserInterface &ui, InstrumentSelection &selection,
                                               SlotLogging logging, InstrumentChooser chooser,
                                               std::string programDirectory)
        : table_(table), document_(document), link_(link), toolbox_(toolbox), ui_(ui), selection_(selection),
          logging_(std::move(logging)), chooser_(std::move(chooser)), programDirectory_(std::move(programDirectory)) {}

void InstrumentIconCommands::createInstruments() {
    if (table_.full()) {
        showError(ui_, message::kMaximumInstrumentsReached);
        return;
    }
    const std::vector<AvailableInstrument> available = availableInstruments(link_, table_, ui_, programDirectory_);
    if (available.empty()) return;
    const std::vector<unsigned> bcns = chooser_(available, kInstrumentSlots - table_.count());
    bool added = false;
    bool queueShortage = false;
    for (const unsigned bcn : bcns) {
        if (table_.full() || !addInstrument(bcn)) break;
        added = true;
        // A queue the toolbox cannot have leaves the instrument without one.
        if (!toolbox_.announceInstrument(table_.find(bcn))) queueShortage = true;
    }
    if (queueShortage) showError(ui_, message::kToolboxQueueShortage);
    if (added) document_.setModified(true);
}

// False, after the message, when adding has to stop.
bool InstrumentIconCommands::addInstrument(unsigned bcn) {
    const int slot = table_.firstFreeSlot();
    const BcnLookup lookup = lookUpBcn(link_, bcn);
    if (lookup.status < 0) {
        showError(ui_, message::kCcfUnreadable);
        return false;
    }
    if (!table_.add(slot, bcn, lookup.model)) {
        showError(ui_, message::kLowOnMemory);
        return false;
    }
    // The table's observer has put it on the bar.
    selection_.selectSlot(slot);
    return true;
}

void InstrumentIconCommands::deleteSelected(bool lockout) {
    const int slot = selection_.selectedSlot();
    if (table_.count() == 0 || lockout || slot == 0 || logging_(slot)) return;
    const unsigned bcn = table_.slot(slot).bcn;
    if (!askedYes(ui_, deleteQuestion(bcn))) return;
    if (slot == table_.masterSlot() && slavesExist() && !askedYes(ui_, resourceString(message::kSlavesBecomeAsync)))
        return;

    table_.remove(slot); // its observers update the bar and tell the child windows and the toolbox
    document_.setModified(true);
}

bool InstrumentIconCommands::slavesExist() const {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const InstrumentSlot &entry = table_.slot(slot);
        if (entry.inUse && entry.role == GroupRole::Slave) return true;
    }
    return false;
}

} // namespace korvel

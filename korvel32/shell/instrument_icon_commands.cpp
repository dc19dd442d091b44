#include "shell/instrument_icon_commands.h"

#include "platform/string_table.h"
#include "setup/bcn_lookup.h"

#include <cstdio>

namespace korvel {
namespace {

constexpr int kMaximumInstruments = 22;
constexpr int kSlavesBecomeAsync = 690;

void showError(UserInterface &ui, int messageId) {
    ui.showMessage(resourceString(messageId), MessageIcon::Exclamation, MessageButtons::Ok);
}

bool confirmed(UserInterface &ui, const std::string &question) {
    return ui.showMessage(question, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

std::string deleteQuestion(unsigned bcn) {
    char text[80];
    std::snprintf(text, sizeof text, "Instrument %02u:  Configuration will be lost!  Delete anyway?", bcn);
    return text;
}

} // namespace

InstrumentIconCommands::InstrumentIconCommands(InstrumentTable &table, CSetupDoc &document, InstrumentBar &bar,
                                               InstrumentLink &link, UserInterface &ui, SlotLogging logging,
                                               InstrumentChooser chooser)
        : table_(table), document_(document), bar_(bar), link_(link), ui_(ui), logging_(std::move(logging)),
          chooser_(std::move(chooser)) {}

void InstrumentIconCommands::createInstruments(QWidget *parent) {
    if (table_.full()) {
        showError(ui_, kMaximumInstruments);
        return;
    }
    const std::vector<unsigned> bcns = chooser_(table_, link_, ui_, kInstrumentSlots - table_.count(), parent);
    bool added = false;
    for (const unsigned bcn : bcns) {
        if (table_.full() || !addInstrument(bcn)) break;
        added = true;
    }
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
    bar_.selectSlot(slot);
    return true;
}

void InstrumentIconCommands::deleteSelected(bool lockout) {
    const int slot = bar_.selectedSlot();
    if (table_.count() == 0 || lockout || slot == 0 || logging_(slot)) return;
    const unsigned bcn = table_.slot(slot).bcn;
    if (!confirmed(ui_, deleteQuestion(bcn))) return;
    if (slot == table_.masterSlot() && slavesExist() && !confirmed(ui_, resourceString(kSlavesBecomeAsync))) return;

    table_.remove(slot); // its observer updates the bar and tells the child windows
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

#include "setup/instrument_table.h"

#include "setup/setup_template.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace korvel {

InstrumentTable::InstrumentTable(const SetupTemplate &setupTemplate) : template_(setupTemplate) {}

InstrumentSlot &InstrumentTable::slot(int number) {
    if (number < 1 || number > kInstrumentSlots) throw std::out_of_range("instrument slot");
    return slots_[static_cast<std::size_t>(number)];
}

const InstrumentSlot &InstrumentTable::slot(int number) const {
    if (number < 1 || number > kInstrumentSlots) throw std::out_of_range("instrument slot");
    return slots_[static_cast<std::size_t>(number)];
}

int InstrumentTable::find(unsigned bcn) const {
    for (int number = 1; number <= kInstrumentSlots; ++number) {
        const InstrumentSlot &entry = slot(number);
        if (entry.inUse && entry.bcn == bcn) return number;
    }
    return 0;
}

int InstrumentTable::firstFreeSlot() const {
    for (int number = 1; number <= kInstrumentSlots; ++number) {
        if (!slot(number).inUse) return number;
    }
    return 0;
}

std::vector<int> InstrumentTable::slotsInBcnOrder() const {
    std::vector<int> ordered;
    for (int number = 1; number <= kInstrumentSlots; ++number) {
        if (slot(number).inUse) ordered.push_back(number);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [this](int a, int b) { return slot(a).bcn < slot(b).bcn; });
    return ordered;
}

bool InstrumentTable::add(int number, unsigned bcn, ModelCode model, bool refreshIcon) {
    InstrumentSlot &entry = slot(number);
    if (entry.inUse) return false;
    try {
        entry.setup = std::make_unique<InstrumentSetup>(template_.defaultSetup);
    } catch (const std::bad_alloc &) {
        return false;
    }
    entry.bcn = static_cast<std::uint16_t>(bcn);
    entry.model = model;
    entry.role = GroupRole::Async;
    entry.inUse = true;
    ++count_;
    for (InstrumentTableObserver *observer : observers_) observer->instrumentAdded(number, refreshIcon);
    return true;
}

void InstrumentTable::remove(int number) {
    InstrumentSlot &entry = slot(number);
    if (!entry.inUse) return;
    if (number == masterSlot_) makeAllAsync();
    const unsigned bcn = entry.bcn;
    entry = InstrumentSlot{};
    --count_;
    for (InstrumentTableObserver *observer : observers_) observer->instrumentDeleted(number, bcn);
}

void InstrumentTable::removeAll() {
    for (int number = 1; number <= kInstrumentSlots; ++number) remove(number);
    masterSlot_ = 0;
}

void InstrumentTable::changeBcn(int number, unsigned bcn) {
    InstrumentSlot &entry = slot(number);
    if (!entry.inUse || entry.bcn == bcn) return;
    const unsigned oldBcn = entry.bcn;
    entry.bcn = static_cast<std::uint16_t>(bcn);
    for (InstrumentTableObserver *observer : observers_) observer->bcnChanged(number, oldBcn);
}

void InstrumentTable::setRole(int number, GroupRole role) {
    InstrumentSlot &entry = slot(number);
    entry.role = role;
    if (role == GroupRole::Master) {
        masterSlot_ = number;
    } else if (masterSlot_ == number) {
        masterSlot_ = 0;
    }
}

void InstrumentTable::makeAllAsync() {
    for (InstrumentSlot &entry : slots_) entry.role = GroupRole::Async;
    masterSlot_ = 0;
}

} // namespace korvel

// The setup's 20 instrument slots, the count of those in use and the Master.
#pragma once

#include "setup/instrument_setup.h"
#include "setup/setup_codes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvel {

struct SetupTemplate;

constexpr int kInstrumentSlots = 20;

// The persistent part of a slot. Its scan buffer and logging-run state belong
// to the logging layer, which keeps them beside the table by slot number.
struct InstrumentSlot {
    bool inUse = false;
    std::uint16_t bcn = 0;
    ModelCode model = ModelCode::M100A;
    GroupRole role = GroupRole::Async;
    std::unique_ptr<InstrumentSetup> setup; // present exactly while in use
};

// Told when instruments come and go, so that the instrument bar, the main
// window, Quick Plot, DDE and the toolbox can follow.
class InstrumentTableObserver {
public:
    virtual ~InstrumentTableObserver() = default;
    virtual void instrumentAdded(int slot, bool refreshIcon) = 0;
    virtual void instrumentDeleted(int slot, unsigned bcn) = 0;
    // The slot's instrument has taken another BCN in the communications
    // configuration; the table holds the new one.
    virtual void bcnChanged(int /*slot*/, unsigned /*oldBcn*/) {}
};

class InstrumentTable {
public:
    explicit InstrumentTable(const SetupTemplate &setupTemplate);

    // Each observer is told of every instrument added or deleted, in the
    // order they were added; one must be removed before it goes.
    void addObserver(InstrumentTableObserver &observer) { observers_.push_back(&observer); }
    void removeObserver(InstrumentTableObserver &observer) { std::erase(observers_, &observer); }
    const SetupTemplate &setupTemplate() const { return template_; }

    // Slots are numbered 1..20.
    InstrumentSlot &slot(int number);
    const InstrumentSlot &slot(int number) const;

    int count() const { return count_; }
    bool full() const { return count_ >= kInstrumentSlots; }
    int masterSlot() const { return masterSlot_; }

    // The first in-use slot with this BCN, or 0.
    int find(unsigned bcn) const;
    // The lowest free slot, or 0.
    int firstFreeSlot() const;
    // The in-use slots by ascending BCN; slots with one BCN in slot order.
    std::vector<int> slotsInBcnOrder() const;

    // Fills a free slot with a copy of the template's instrument, group role
    // Async. False when the slot is not free or memory runs out; nothing is
    // then changed.
    bool add(int slot, unsigned bcn, ModelCode model, bool refreshIcon = true);
    // Frees an in-use slot; deleting the Master makes every instrument Async.
    void remove(int slot);
    void removeAll();
    // Gives an in-use slot's instrument another BCN.
    void changeBcn(int slot, unsigned bcn);

    // Keeps the master slot in step with the roles.
    void setRole(int slot, GroupRole role);
    void makeAllAsync();

private:
    const SetupTemplate &template_;
    std::vector<InstrumentTableObserver *> observers_;
    std::array<InstrumentSlot, kInstrumentSlots + 1> slots_{}; // 0 unused
    int count_ = 0;
    int masterSlot_ = 0;
};

} // namespace korvel

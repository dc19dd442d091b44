#include "setup/setup_load.h"

namespace korvel {

namespace {
constexpr unsigned kHighestBcn = 99;
}

bool usableBcn(const SetupTarget &target, unsigned bcn, ModelCode &model) {
    if (bcn < 1 || bcn > kHighestBcn) return false;
    const BcnLookup lookup = target.resolveBcn(bcn);
    if (!lookup.present()) return false;
    model = lookup.model;
    return true;
}

void removeInstruments(SetupTarget &target) {
    if (target.host.toolboxActive()) {
        for (int number = 1; number <= kInstrumentSlots; ++number) {
            const InstrumentSlot &slot = target.instruments.slot(number);
            if (slot.inUse) target.host.allocateToolboxQueue(slot.bcn, 0);
        }
    }
    target.instruments.removeAll();
}

void completeLoad(SetupTarget &target, LoadOutcome &outcome) {
    InstrumentTable &instruments = target.instruments;
    if (target.host.toolboxActive()) {
        for (int number = 1; number <= kInstrumentSlots; ++number) {
            InstrumentSlot &slot = instruments.slot(number);
            if (!slot.inUse) continue;
            if (!target.host.allocateToolboxQueue(slot.bcn, slot.setup->toolboxQueueSize)) {
                slot.setup->toolboxQueueSize = 0;
                outcome.toolboxQueueShortage = true;
            }
        }
    }
    dropChannelsOfMissingInstruments(target.plot, instruments);
    if (instruments.masterSlot() == 0) instruments.makeAllAsync();
}

} // namespace korvel

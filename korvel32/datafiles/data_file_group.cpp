#include "datafiles/data_file_group.h"

#include "setup/instrument_table.h"

#include <kvlink32.h>

#include <cstddef>

namespace korvel {

std::size_t InstrumentPart::recordSize() const {
    return offsetof(ScanRecord, readings) + sizeof(float) * channels.size();
}

std::size_t DataFileGroup::recordSize() const {
    std::size_t size = owner.recordSize();
    for (const InstrumentPart &slave : slaves) size += slave.recordSize() - kScanTimePrefixSize;
    return size;
}

InstrumentPart instrumentPart(unsigned bcn, const InstrumentSetup &setup) {
    InstrumentPart part{bcn, &setup, {}};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (setup.channel(channel).function != ChannelFunction::Off) part.channels.push_back(channel);
    }
    return part;
}

DataFileGroup dataFileGroupOf(const InstrumentTable &table, int slot) {
    const InstrumentSlot &owner = table.slot(slot);
    DataFileGroup group{instrumentPart(owner.bcn, *owner.setup), owner.role == GroupRole::Master, {}};
    if (!group.master) return group;
    for (int number = 1; number <= kInstrumentSlots; ++number) {
        const InstrumentSlot &candidate = table.slot(number);
        if (candidate.inUse && candidate.role == GroupRole::Slave)
            group.slaves.push_back(instrumentPart(candidate.bcn, *candidate.setup));
    }
    return group;
}

} // namespace korvel

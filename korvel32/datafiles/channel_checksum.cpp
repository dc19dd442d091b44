#include "datafiles/channel_checksum.h"

#include "datafiles/data_file_group.h"

namespace korvel {
namespace {

std::uint32_t partSum(const InstrumentPart &part) {
    std::uint32_t sum = 0;
    for (int channel : part.channels) sum += part.bcn * 100 + static_cast<std::uint32_t>(channel);
    return sum;
}

} // namespace

std::uint32_t channelChecksum(const DataFileGroup &group) {
    std::uint32_t sum = partSum(group.owner);
    if (group.master) {
        for (const InstrumentPart &slave : group.slaves) sum += partSum(slave);
        sum += group.owner.bcn;
    }
    return sum;
}

} // namespace korvel

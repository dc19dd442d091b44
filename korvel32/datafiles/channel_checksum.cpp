#include "datafiles/channel_checksum.h"

#include "datafiles/data_file_group.h"
#include "setup/channel_identifier.h"

namespace korvel {
namespace {

std::uint32_t partSum(const InstrumentPart &part) {
    std::uint32_t sum = 0;
    for (int channel : part.channels) sum += channelIdentifier(part.bcn, channel);
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

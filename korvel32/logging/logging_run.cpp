#include "logging/logging_run.h"

namespace korvel {

std::uint32_t scanRecordSize(const InstrumentSetup &setup) {
    std::uint32_t size = KVX_SCAN_HEADER_SIZE;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (setup.channel(channel).function != ChannelFunction::Off) size += sizeof(float);
    }
    return size;
}

std::int16_t scanBatchSize(std::uint32_t recordSize, bool pairsSlaveScans) {
    if (pairsSlaveScans) return ScanBuffer::kMasterBatch;
    const auto fitting = static_cast<int>(ScanBuffer::kRecordArea / recordSize);
    return static_cast<std::int16_t>(std::min(fitting, ScanBuffer::kMostScansPerRead));
}

void prepareRun(LoggingRun &run, ScanBuffer &buffer, const InstrumentSetup &setup, bool pairsSlaveScans) {
    const std::uint32_t recordSize = scanRecordSize(setup);
    buffer.setHeader({static_cast<std::int32_t>(recordSize), 0, 0});
    buffer.batchSize = scanBatchSize(recordSize, pairsSlaveScans);
    buffer.pairingIndex = ScanBuffer::kHeldMasterWaits;
    // The stop time is set by the start itself; a communication warning still
    // shown stays armed until a good read clears it.
    LoggingRun fresh;
    fresh.stopTime = run.stopTime;
    fresh.communicationErrorShown = run.communicationErrorShown;
    run = fresh;
}

} // namespace korvel

#include "app/live_scans.h"

#include "logging/logging_engine.h"

namespace korvel {

const ScanRecord *latestScanOf(const LoggingEngine &engine, int slot) {
    const LoggingRun &run = engine.run(slot);
    return run.logging && run.hasData ? &engine.scanBuffer(slot).latestScan : nullptr;
}

int readingIndex(const InstrumentSetup &setup, int channel) {
    if (setup.channel(channel).function == ChannelFunction::Off) return -1;
    int index = 0;
    for (int below = 1; below < channel; ++below) {
        if (setup.channel(below).function != ChannelFunction::Off) ++index;
    }
    return index;
}

} // namespace korvel

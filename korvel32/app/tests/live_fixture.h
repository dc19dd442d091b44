// Fixture for the live windows' models: a setup whose instruments the tests
// add, and a logging engine whose runs and latest scans they set as a
// logging tick would leave them.
#pragma once

#include "logging/tests/simulated_logger.h"

#include <initializer_list>
#include <utility>

namespace korvel {

class LiveFixture : public SimulatedLogger {
protected:
    // Adds the instrument in the next free slot; channels 1..3 read VDC.
    int addInstrument(unsigned bcn) {
        const int slot = table.firstFreeSlot();
        table.add(slot, bcn, ModelCode::M100A);
        return slot;
    }

    ChannelSetup &channel(int slot, int number) { return table.slot(slot).setup->channel(number); }

    // The slot logs and its newest scan holds these readings (one per channel
    // that is not OFF) and alarm words.
    void deliver(int slot, std::initializer_list<float> readings, std::uint32_t alarm1 = 0, std::uint32_t alarm2 = 0,
                 std::uint32_t msAndDio = 0, std::uint32_t totalizer = 0) {
        LoggingRun &run = engine.run(slot);
        run.logging = run.hasData = true;
        ScanRecord scan{};
        std::size_t i = 0;
        for (const float reading : readings) scan.readings[i++] = reading;
        scan.alarm1 = alarm1;
        scan.alarm2 = alarm2;
        scan.msAndDio = msAndDio;
        scan.totalizer = totalizer;
        engine.scanBuffer(slot).latestScan = scan;
    }

    void stopLogging(int slot) { engine.run(slot).logging = false; }
};

} // namespace korvel

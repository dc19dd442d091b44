// Fixture for logging runs end to end against korvel-sim: the runs write
// real data files in the test's directory, the logging tick reads the
// instruments as the main loop would, Stop All Instruments ends the runs
// through their drain, and the simulator's counters tell whether a scan went
// missing on the way.
#pragma once

#include "data_file_scans.h"
#include "datafiles/slot_data_files.h"
#include "logging/logging_commands.h"
#include "logging/logging_tick.h"
#include "logging/remote_commands.h"
#include "setup/plot_settings.h"
#include "setup/setup_doc.h"
#include "setup/setup_host.h"
#include "simulated_logger.h"

#include <chrono>
#include <functional>
#include <thread>

namespace korvel {

// The VDC channels of every setup made from the test's template.
constexpr std::size_t kTemplateChannels = 3;

class LoggingWithFiles : public SimulatedLogger {
protected:
    // Each reading of the clock moves it on, so every tick sees a new millisecond.
    LoggingWithFiles() { clock.setStep(1); }

    // The slot's scans go to a new data file of this name and format in the
    // test's directory, taken every interval seconds; the path is returned.
    std::string logToFile(int slot, FileFormat format, const std::string &name, double interval) {
        InstrumentSetup &setup = *table.slot(slot).setup;
        setup.interval1 = interval;
        setup.dataFile.enabled = true;
        setup.dataFile.path = dir.path() + "/" + name;
        setup.dataFile.mode = FileMode::Overwrite;
        setup.dataFile.format = format;
        return setup.dataFile.path;
    }

    // Opens the data files of the slots, as a start command does, and starts
    // their runs at once.
    void startLogging(std::uint32_t slotMask) {
        for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
            if (!(slotMask & slotBit(slot)) || !table.slot(slot).setup->dataFile.enabled) continue;
            ASSERT_EQ(files.open(slot, clock.now().seconds), DataFileOpen::Opened) << "slot " << slot;
        }
        ASSERT_TRUE(engine.startLogging(slotMask, 0));
    }

    // Slot 1 becomes the Master and every other instrument its Slave, each
    // scanning on its own clock at the Master's interval (not wired); the
    // Master's file is made as by logToFile and the whole group starts.
    std::string startGroupLogging(FileFormat format, const std::string &name, double interval) {
        options.wiredGroup = false;
        table.setRole(1, GroupRole::Master);
        std::uint32_t group = slotBit(1);
        for (int slot = 2; slot <= table.count(); ++slot) {
            table.setRole(slot, GroupRole::Slave);
            group |= slotBit(slot);
        }
        const std::string path = logToFile(1, format, name, interval);
        startLogging(group);
        return path;
    }

    // One tick of the main loop, then a breather as between its messages.
    void tickOnce() {
        tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // Ticks as the main loop would while instruments scan.
    void tickFor(std::chrono::milliseconds duration) {
        const auto until = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < until) tickOnce();
    }

    // Ticks until the condition holds; false when it did not within the time.
    // The wait between the polls is the loop's breather.
    bool tickUntil(const std::function<bool()> &condition, int timeoutMs) {
        return kvtest::waitFor(
            [&] {
                tick();
                return condition();
            },
            timeoutMs);
    }

    bool anyRunLogging() const {
        for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
            if (engine.run(slot).logging) return true;
        }
        return false;
    }

    // Stop All Instruments, then the ticks read what the instruments still
    // hold until every run has ended (bounded); the data files are closed.
    bool stopAllAndDrain(int timeoutMs) {
        commands.stopAll(CommandSource::User);
        const bool drained = tickUntil([&] { return !anyRunLogging(); }, timeoutMs);
        for (int slot = 1; slot <= kInstrumentSlots; ++slot) EXPECT_TRUE(files.close(slot)) << "slot " << slot;
        return drained;
    }

    // Waits (bounded) until the instrument holds at least this many scans,
    // so that a stop finds more than one read to drain.
    bool instrumentHolds(int bcn, long scans) {
        return kvtest::waitFor([&] { return sim->counters(bcn).queued >= scans; }, 5000);
    }

    // Every scan the instrument made was fetched by the logger.
    void expectAllFetched(int bcn) {
        const kvtest::ScanCounters counted = sim->counters(bcn);
        EXPECT_GT(counted.produced, 0) << "instrument " << bcn;
        EXPECT_EQ(counted.fetched, counted.produced) << "instrument " << bcn;
        EXPECT_EQ(counted.lost, 0) << "instrument " << bcn;
        EXPECT_EQ(counted.cleared, 0) << "instrument " << bcn;
        EXPECT_EQ(counted.queued, 0) << "instrument " << bcn;
    }

    EngineRuns runs{engine};
    LoggingCommands commands{table, options, link, runs, files, frontEnd, clock};
    // The remote commands that each tick runs when one is pending.
    RegionalFormats regional;
    PlotSettings plot;
    SetupHost setupHost;
    CSetupDoc doc{SetupTarget{table, options, plot, setupHost, bcnResolver(link)}, ui, regional};
    RemoteCommands remote{RemoteCommandTargets{table, runs, commands, doc, dir.path(), '.'}, frontEnd};
    LoggingTick tick{table, options, engine, files, remote, frontEnd, clock};
};

} // namespace korvel

// One instrument's fault never stops the others: while it cannot be read,
// the other instruments' scans keep arriving, and Stop All still drains
// every one of them into complete data files.
#include "logging_with_files.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace korvel {
namespace {

struct Fault {
    const char *name;
    std::vector<std::string> controls; // the simulator's fault commands for instrument 2
};

// Test listings show the case by its name rather than as raw bytes.
void PrintTo(const Fault &tested, std::ostream *out) { *out << tested.name; }

// The communication interruption warnings shown about the instrument.
std::size_t interruptionsOf(const ScriptedUserInterface &ui, unsigned bcn) {
    const std::string text = instrumentMessage(31, bcn);
    const std::string start = text.substr(0, text.find('('));
    return static_cast<std::size_t>(std::count_if(ui.warnings().begin(), ui.warnings().end(), [&](const auto &w) {
        return w.kind == WarningKind::CommunicationInterruption && w.text.starts_with(start);
    }));
}

void expectWarningsOnlyAbout(const ScriptedUserInterface &ui, const std::string &instrument) {
    for (const auto &warning : ui.warnings()) EXPECT_TRUE(warning.text.starts_with(instrument)) << warning.text;
}

class InstrumentFaultIsolation : public LoggingWithFiles, public ::testing::WithParamInterface<Fault> {};

TEST_P(InstrumentFaultIsolation, TheOtherInstrumentsLogOnAndDrainCompletely) {
    startInstruments({{1, KVX_MODEL_M200A}, {2, KVX_MODEL_M100A}, {3, KVX_MODEL_M100A}});
    ASSERT_EQ(kvxTimeoutSet(1), KVX_OK); // a silence becomes a time-out soon
    const std::string fast = logToFile(1, FileFormat::FastBinary, "fast.bin", 0.02);
    logToFile(2, FileFormat::Ascii, "faulty.csv", 0.1);
    const std::string steady = logToFile(3, FileFormat::Ascii, "steady.csv", 0.05);
    startLogging(slots({1, 2, 3}));
    tickFor(std::chrono::milliseconds(300));

    for (const std::string &line : GetParam().controls) control(line);
    const std::int32_t fastBefore = engine.run(1).totalScans;
    const std::int32_t steadyBefore = engine.run(3).totalScans;
    ASSERT_TRUE(tickUntil(
        [&] {
            return interruptionsOf(ui, 2) > 0 && engine.run(1).totalScans >= fastBefore + 50 &&
                   engine.run(3).totalScans >= steadyBefore + 20;
        },
        10000));
    EXPECT_TRUE(engine.run(2).logging) << "a communication error does not end the run";
    EXPECT_EQ(interruptionsOf(ui, 2), 1u);

    ASSERT_TRUE(stopAllAndDrain(10000));
    for (const int bcn : {1, 3}) expectAllFetched(bcn);
    EXPECT_EQ(binaryScanNumbers(fast, scanRecordSize(*table.slot(1).setup)), firstScans(sim->counters(1).produced));
    EXPECT_EQ(csvColumn(steady, csvTotalColumn(kTemplateChannels)), firstScans(sim->counters(3).produced));
    expectWarningsOnlyAbout(ui, "Instrument 02:");
}

INSTANTIATE_TEST_SUITE_P(Faults, InstrumentFaultIsolation,
                         ::testing::Values(Fault{"ClosedConnection", {"refuse 2", "drop 2"}},
                                           Fault{"Silence", {"silent 2"}}, Fault{"ErrorReplies", {"error 2 -7"}}),
                         [](const auto &tested) { return std::string(tested.param.name); });

using SlaveFaultIsolation = LoggingWithFiles;

// A slave that answers only errors holds up neither its Master's file nor
// the other slaves: every Master scan still gets its line.
TEST_F(SlaveFaultIsolation, TheGroupFileGoesOnWithALinePerMasterScan) {
    startInstruments({1, 2, 3});
    const std::string path = startGroupLogging(FileFormat::Ascii, "group.csv", 0.05);
    tickFor(std::chrono::milliseconds(300));

    control("error 3 -7");
    const std::int32_t masterBefore = engine.run(1).totalScans;
    ASSERT_TRUE(
        tickUntil([&] { return interruptionsOf(ui, 3) > 0 && engine.run(1).totalScans >= masterBefore + 20; }, 5000));

    ASSERT_TRUE(stopAllAndDrain(5000));
    expectAllFetched(1);
    EXPECT_EQ(csvColumn(path, csvTotalColumn(kTemplateChannels)), firstScans(sim->counters(1).produced));
    // The slave's disable goes out a round trip after the Master's: a stall there of an interval on a
    // loaded machine lets a second slave scan follow the one paired with the Master's last.
    EXPECT_GE(csvColumn(path, csvTotalColumn(kTemplateChannels, 1)).back(), sim->counters(2).produced - 2)
        << "the healthy slave's last scan";
    EXPECT_EQ(interruptionsOf(ui, 3), 1u);
    expectWarningsOnlyAbout(ui, "Instrument 03:");
}

} // namespace
} // namespace korvel

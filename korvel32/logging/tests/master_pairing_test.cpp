#include "logging/master_pairing.h"

#include "scoped_time_zone.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>
#include <string>

namespace korvel {
namespace {

constexpr int kMaster = 2;
constexpr int kSlaveA = 3;
constexpr int kSlaveB = 5;

// A scan numbered id (in its first word), taken the given milliseconds after
// 2027-03-10 12:00:00.
ScanRecord scanAt(int id, int milliseconds) {
    ScanRecord scan{};
    scan.first = id;
    const int seconds = milliseconds / 1000;
    scan.time = InstrumentTime{
        12, static_cast<std::uint8_t>(seconds / 60), static_cast<std::uint8_t>(seconds % 60), 3, 0, 10, 27, 0};
    scan.msAndDio = static_cast<std::uint32_t>(milliseconds % 1000);
    return scan;
}

// A Master group whose reads bring the scans a test queues for them, and
// whose file records each merged scan as the ids of its parts.
class FakeGroup : public PairingInstruments {
public:
    FakeGroup() {
        for (ScanBuffer &buffer : buffers_) buffer.setHeader({static_cast<std::int32_t>(sizeof(ScanRecord)), 0, 0});
    }

    // The scans the slot's next read brings (a read with none queued brings none).
    void queueRead(int slot, std::vector<ScanRecord> scans) { reads_[slot].push_back(std::move(scans)); }
    void failWrites(bool fail) { writesFail_ = fail; }

    std::vector<std::string> merged;
    int writeAttempts = 0;
    std::map<int, int> errorQueries;

    bool readScans(int slot) override {
        std::vector<ScanRecord> scans;
        if (!reads_[slot].empty()) {
            scans = std::move(reads_[slot].front());
            reads_[slot].pop_front();
        }
        ScanBuffer &buffer = scanBuffer(slot);
        ScanBufferHeader header = buffer.header();
        header.count = static_cast<std::int32_t>(scans.size());
        buffer.setHeader(header);
        for (std::size_t i = 0; i < scans.size(); ++i) buffer.setRecord(static_cast<int>(i), scans[i]);
        if (!scans.empty()) run(slot).hasData = true;
        return true;
    }
    ScanBuffer &scanBuffer(int slot) override { return buffers_.at(static_cast<std::size_t>(slot)); }
    LoggingRun &run(int slot) override { return runs_.at(static_cast<std::size_t>(slot)); }
    bool writeMerged(int, const ScanRecord &masterScan, std::span<const ScanRecord *const> slaveScans) override {
        ++writeAttempts;
        if (writesFail_) return false;
        std::string ids = std::to_string(masterScan.first);
        for (const ScanRecord *scan : slaveScans) ids += "+" + (scan ? std::to_string(scan->first) : "none");
        merged.push_back(ids);
        return true;
    }
    void queryInternalError(int slot) override { ++errorQueries[slot]; }

private:
    std::array<ScanBuffer, 21> buffers_;
    std::array<LoggingRun, 21> runs_{};
    std::map<int, std::deque<std::vector<ScanRecord>>> reads_;
    bool writesFail_ = false;
};

class MasterPairingTest : public ::testing::Test {
protected:
    PairingOutcome serve(std::int64_t now = 1000) { return pairing.serve(group, kMaster, slaves, now); }

    ScopedTimeZone utc{"UTC"};
    FakeGroup group;
    MasterPairing pairing;
    std::vector<int> slaves{kSlaveA};
};

TEST_F(MasterPairingTest, TheNewestMasterScanWaitsForTheNextTick) {
    group.queueRead(kMaster, {scanAt(1, 0)});
    group.queueRead(kSlaveA, {scanAt(101, 100), scanAt(102, 1100)});
    const PairingOutcome first = serve();
    EXPECT_TRUE(first.readSucceeded);
    EXPECT_EQ(first.newScans, 1);
    EXPECT_FALSE(first.written);
    EXPECT_TRUE(group.merged.empty());

    group.queueRead(kMaster, {scanAt(2, 1000)});
    EXPECT_TRUE(serve().written);
    EXPECT_EQ(group.merged, (std::vector<std::string>{"1+101"})) << "paired with the slave scans read meanwhile";
}

TEST_F(MasterPairingTest, EachMasterScanTakesTheNearestSlaveScan) {
    slaves = {kSlaveA, kSlaveB};
    group.queueRead(kMaster, {scanAt(1, 0)});
    serve();
    group.queueRead(kMaster, {scanAt(2, 1000), scanAt(3, 2000), scanAt(4, 3000)});
    group.queueRead(kSlaveA, {scanAt(101, 20), scanAt(102, 1020), scanAt(103, 2020)});
    group.queueRead(kSlaveA, {scanAt(104, 3020)});
    group.queueRead(kSlaveB, {scanAt(201, 900), scanAt(202, 1900)});
    group.queueRead(kSlaveB, {scanAt(203, 2900)});
    serve();
    EXPECT_EQ(group.merged, (std::vector<std::string>{"1+101+201", "2+102+201", "3+103+202"}));
    EXPECT_EQ(group.scanBuffer(kMaster).heldScan.first, 4);
}

TEST_F(MasterPairingTest, OfTwoSlaveScansEquallyFarTheEarlierIsTaken) {
    struct Case {
        int before, after; // milliseconds of two slave scans around the Master scan at 1000
        int chosen;
    };
    for (const Case c : {Case{500, 1500, 101}, Case{400, 1500, 102}, Case{600, 1500, 101}, Case{1000, 1001, 101}}) {
        FakeGroup fresh;
        fresh.run(kMaster).hasData = true;
        fresh.scanBuffer(kMaster).heldScan = scanAt(1, 1000);
        fresh.queueRead(kMaster, {scanAt(2, 5000)});
        fresh.queueRead(kSlaveA, {scanAt(101, c.before), scanAt(102, c.after), scanAt(103, 6000)});
        fresh.readScans(kSlaveA);
        fresh.scanBuffer(kSlaveA).pairingIndex = 0;

        MasterPairing().serve(fresh, kMaster, slaves, 1000);
        ASSERT_EQ(fresh.merged.size(), 1u);
        EXPECT_EQ(fresh.merged[0], "1+" + std::to_string(c.chosen)) << c.before << " " << c.after;
    }
}

TEST_F(MasterPairingTest, ASlaveWithoutScansContributesNone) {
    group.queueRead(kMaster, {scanAt(1, 0), scanAt(2, 1000), scanAt(3, 2000)});
    serve();
    group.queueRead(kMaster, {scanAt(4, 3000)});
    serve();
    EXPECT_EQ(group.merged, (std::vector<std::string>{"1+none", "2+none", "3+none"}));
}

TEST_F(MasterPairingTest, TheHeldScanWaitsForLaterSlaveScansUnlessTheRunDrains) {
    group.queueRead(kMaster, {scanAt(1, 0)});
    group.queueRead(kSlaveA, {scanAt(101, 0)});
    serve();
    group.queueRead(kMaster, {scanAt(2, 1000)});
    serve(); // the slave's first read
    ASSERT_EQ(group.merged, (std::vector<std::string>{"1+101"}));

    group.queueRead(kSlaveA, {scanAt(102, 900)});
    serve();
    EXPECT_EQ(group.merged.size(), 1u) << "scan 2 waits: a slave scan nearer to it may still come";

    group.queueRead(kSlaveA, {scanAt(103, 1950)});
    serve();
    EXPECT_EQ(group.merged.back(), "2+102") << "written once a slave scan after it arrived";
    serve();
    EXPECT_EQ(group.merged.size(), 2u) << "and only once";

    group.queueRead(kMaster, {scanAt(3, 2000)});
    serve();
    group.run(kMaster).draining = true;
    const PairingOutcome last = serve();
    EXPECT_TRUE(last.readSucceeded && last.newScans == 0);
    EXPECT_EQ(group.merged.back(), "3+103") << "a draining run writes its last scan";
}

TEST_F(MasterPairingTest, AMasterWithoutScansQuestionsEverySlaveEvery20Seconds) {
    slaves = {kSlaveA, kSlaveB};
    for (std::int64_t now = 1000; now <= 1060; now += 5) serve(now);
    EXPECT_EQ(group.errorQueries, (std::map<int, int>{{kSlaveA, 3}, {kSlaveB, 3}})) << "at 1000, 1025 and 1050";

    group.queueRead(kMaster, {scanAt(1, 0)});
    serve(1080);
    EXPECT_EQ(group.errorQueries[kSlaveA], 3) << "not while the Master brings scans";
}

TEST_F(MasterPairingTest, WhileWritesFailOnlyTheFirstMergedScansAreTried) {
    group.queueRead(kMaster, {scanAt(1, 0)});
    serve();
    group.failWrites(true);
    group.run(kMaster).writeErrorShown = true;
    std::vector<ScanRecord> batch;
    for (int id = 2; id <= 7; ++id) batch.push_back(scanAt(id, (id - 1) * 1000));
    group.queueRead(kMaster, batch);
    serve();
    EXPECT_EQ(group.writeAttempts, 3) << "the held scan and the first two of the read";
}

} // namespace
} // namespace korvel

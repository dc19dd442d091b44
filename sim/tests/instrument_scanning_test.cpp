// Scanning on the instrument's own clock, the queue and its overflow, busy
// behaviour and the counters, driven on a virtual time line.
#include <gtest/gtest.h>

#include "command_table.h"
#include "instrument_test_support.h"

using namespace simtest;

namespace {

TEST(InstrumentScanning, IntervalScansCatchUpWithTheirOwnStamps) {
    VirtualInstrument sim;
    InstrumentConfig config = intervalConfig(250ms);
    config.channels[0] = vdc();
    config.channels[4] = vdc();
    sim.configure(config);
    sim.startNow();
    sim.now += 1010ms; // late: five scans fell due (0, 250, 500, 750, 1000 ms)
    const Block block = sim.fetch();
    EXPECT_EQ(block.recordSize, 28 + 2 * 4);
    ASSERT_EQ(block.records.size(), 5u);
    for (std::size_t k = 1; k < block.records.size(); ++k) {
        EXPECT_EQ(block.records[k].stampMs() - block.records[k - 1].stampMs(), 250) << k;
        EXPECT_EQ(block.records[k].first, block.records[k - 1].first + 1);
    }
    EXPECT_EQ(block.records[0].readings.size(), 2u);
    sim.now += 230ms;
    EXPECT_TRUE(sim.fetch().records.empty()) << "the next scan is not due yet";
    sim.now += 10ms;
    EXPECT_EQ(sim.fetch().records.size(), 1u) << "nor skipped or doubled";

    ASSERT_FALSE(sim.send(104).isError);
    sim.now += 5s;
    EXPECT_TRUE(sim.fetch().records.empty()) << "stopped";
}

TEST(InstrumentScanning, StampsFollowTheClockSetByCommand106) {
    VirtualInstrument sim;
    InstrumentConfig config = intervalConfig(1000ms);
    config.channels[0] = vdc();
    sim.configure(config);
    korvelsim::Bytes at = {23, 59, 59, 12, 0, 31, 25, 0}; // 31 Dec 2025, 23:59:59.900
    const auto ms = ints({900});
    at.insert(at.end(), ms.begin(), ms.end());
    ASSERT_FALSE(sim.send(106, at).isError);
    sim.startNow();
    sim.now += 1s;
    const Block block = sim.fetch();
    ASSERT_EQ(block.records.size(), 2u);
    const InstrumentTime first = block.records[0].time;
    EXPECT_EQ(first.hour, 23);
    EXPECT_EQ(first.day, 31);
    EXPECT_EQ(block.records[0].msAndDio & 0xFFFF, 900u);
    const InstrumentTime second = block.records[1].time;
    EXPECT_EQ(second.hour, 0);
    EXPECT_EQ(second.second, 0);
    EXPECT_EQ(second.month, 1);
    EXPECT_EQ(second.day, 1);
    EXPECT_EQ(second.year, 26);
}

TEST(InstrumentScanning, ScheduledStart) {
    VirtualInstrument sim;
    InstrumentConfig config = intervalConfig(1000ms);
    config.channels[0] = vdc();
    sim.configure(config);
    const auto startAt = [&](std::chrono::milliseconds fromNow) {
        const korvelsim::ClockReading when = sim.device.clock.readingAt(sim.now + fromNow);
        korvelsim::Bytes payload = ints({1});
        const auto *time = reinterpret_cast<const std::uint8_t *>(&when.time);
        payload.insert(payload.end(), time, time + sizeof when.time);
        const auto ms = ints({when.milliseconds});
        payload.insert(payload.end(), ms.begin(), ms.end());
        return sim.send(103, payload);
    };
    const korvelsim::Response past = startAt(-2s);
    EXPECT_TRUE(past.isError);
    EXPECT_EQ(past.code, korvelsim::kStartTimePassed);
    EXPECT_FALSE(sim.device.scanning());

    ASSERT_FALSE(startAt(3s).isError);
    sim.now += 2999ms;
    EXPECT_TRUE(sim.fetch().records.empty()) << "not before the start time";
    sim.now += 1ms;
    EXPECT_EQ(sim.fetch().records.size(), 1u);
}

TEST(InstrumentScanning, FullQueueInBothMemoryModes) {
    for (const bool discardNewest : {false, true}) {
        SCOPED_TRACE(discardNewest ? "mode 2" : "mode 0");
        VirtualInstrument sim;
        InstrumentConfig config = intervalConfig(100ms);
        config.options |= discardNewest ? (2U << 9) : 0U;
        config.channels[0] = vdc();
        sim.device.queue.setCapacity(5);
        sim.configure(config);
        sim.startNow();
        sim.now += 650ms; // seven scans into a queue of five
        EXPECT_EQ(sim.status() & 1U, 1U) << "overflow shows in the status";
        EXPECT_EQ(sim.status() & 1U, 0U) << "until the status is read";

        sim.now += 100ms; // an eighth
        const Block block = sim.fetch(2);
        EXPECT_EQ(block.remaining, 0x80000000U | 3U) << "attention flag with the remaining count";
        EXPECT_EQ(block.records.front().first, discardNewest ? 1 : 4);
        EXPECT_EQ(sim.status() & 1U, 1U);
        EXPECT_EQ(sim.fetch(0).remaining, 3U) << "flag gone once the status was read";

        const korvelsim::ScanCounters &counters = sim.device.queue.counters();
        EXPECT_EQ(counters.produced, 8U);
        EXPECT_EQ(counters.lost, 3U);
        EXPECT_EQ(counters.fetched, 2U);
        EXPECT_EQ(counters.produced, counters.fetched + counters.lost + counters.cleared + sim.device.queue.size());
    }
}

TEST(InstrumentScanning, WithoutBit11AFullQueueStopsScanning) {
    VirtualInstrument sim;
    InstrumentConfig config = intervalConfig(100ms);
    config.options &= ~(1U << 11);
    config.channels[0] = vdc();
    sim.device.queue.setCapacity(3);
    sim.configure(config);
    sim.startNow();
    sim.now += 1s;
    EXPECT_EQ(sim.fetch().records.size(), 3U);
    EXPECT_FALSE(sim.device.scanning());
    EXPECT_EQ(sim.device.queue.counters().lost, 0U);
}

TEST(InstrumentScanning, BusyAfterConfigurationAndStop) {
    VirtualInstrument sim;
    sim.device.busyTime = 200ms;
    sim.device.busyReplies = true;
    ASSERT_FALSE(sim.send(129, korvelsim::encodeConfig(intervalConfig(1s), true)).isError);
    EXPECT_EQ(sim.status() & 0xFF000000U, korvelsim::kBusyStatus);
    const korvelsim::Response refused = sim.send(126);
    EXPECT_TRUE(refused.isError);
    EXPECT_EQ(refused.code, korvelsim::kStillBusy);
    sim.now += 200ms;
    EXPECT_EQ(sim.status(), 0U);
    EXPECT_FALSE(sim.send(126).isError);
    ASSERT_FALSE(sim.send(104).isError);
    EXPECT_EQ(sim.status() & 0xFF000000U, korvelsim::kBusyStatus) << "a scan disable is busy too";
}

TEST(InstrumentScanning, ExternalTriggerScansOnlyWhenEnabled) {
    VirtualInstrument sim;
    InstrumentConfig config{};
    config.options = korvelsim::kExternalTriggerOption;
    config.channels[0] = vdc();
    sim.configure(config);
    ASSERT_FALSE(sim.send(102, ints({1})).isError);
    EXPECT_EQ(sim.device.queue.size(), 0U) << "not scanning yet";
    sim.startNow();
    sim.now += 10s;
    EXPECT_TRUE(sim.fetch().records.empty()) << "no timed trigger";
    ASSERT_FALSE(sim.send(102, ints({1})).isError);
    ASSERT_FALSE(sim.send(102, ints({1})).isError);
    EXPECT_EQ(sim.fetch().records.size(), 2U);
}

TEST(InstrumentScanning, AlarmTriggerScansAtInterval2WhileInAlarm) {
    VirtualInstrument sim;
    InstrumentConfig config{};
    config.options = korvelsim::kAlarmTriggerOption | (1U << 11);
    config.interval2[3] = 200;
    config.alarmCheckInterval[3] = 500;
    config.channels[0] = vdc();
    config.channels[0].alarms = 1 | 4; // alarm trigger, alarm 1 HI
    config.channels[0].limit1 = 1.0f;
    sim.device.overrides[1].value = 0.5;
    sim.configure(config);
    sim.startNow();
    sim.now += 2s;
    EXPECT_TRUE(sim.fetch().records.empty()) << "no alarm, no scan";
    sim.device.overrides[1].value = 2.0;
    sim.now += 500ms; // the check at 2.5 s finds the alarm
    sim.now += 600ms; // scans at 2.5, 2.7, 2.9, 3.1 s
    const Block block = sim.fetch();
    ASSERT_EQ(block.records.size(), 4U);
    EXPECT_EQ(block.records[1].stampMs() - block.records[0].stampMs(), 200);
    EXPECT_EQ(block.records[0].alarm1, 1U);
    sim.device.overrides[1].value = 0.5;
    sim.now += 1s; // the check at 3.5 s ends the alarm before its scan: only 3.3 s is made
    EXPECT_EQ(sim.fetch().records.size(), 1U);
    sim.now += 5s;
    EXPECT_TRUE(sim.fetch().records.empty());
}

TEST(InstrumentScanning, FastModeMakesEveryScanAskedFor) {
    VirtualInstrument sim;
    sim.device.fastMode = true;
    InstrumentConfig config = intervalConfig(10ms);
    config.channels[0] = vdc();
    sim.configure(config);
    sim.startNow();
    const Block first = sim.fetch(100);
    const Block second = sim.fetch(100);
    ASSERT_EQ(first.records.size(), 100U);
    ASSERT_EQ(second.records.size(), 100U);
    EXPECT_EQ(second.records.front().first, 101);
    EXPECT_EQ(second.records.front().stampMs() - first.records.back().stampMs(), 10);
    EXPECT_EQ(sim.device.queue.counters().fetched, 200U);
}

} // namespace

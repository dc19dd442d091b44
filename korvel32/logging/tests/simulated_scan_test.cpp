#include "logging/instrument_time.h"
#include "logging/simulated_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace korvel {
namespace {

constexpr std::int64_t kNow = 1'800'000'000;

class SimulatedScan : public ::testing::Test {
protected:
    SimulatedScan() { setChannel(1, ChannelFunction::Vdc, RangeCode::Vdc3V); }

    void setChannel(int channel, ChannelFunction function, RangeCode range) {
        setup.channel(channel).function = function;
        setup.channel(channel).range = range;
    }

    // Scans made (0 or 1) at this second, with a run that has data.
    int scanAt(std::int64_t second, double interval = 1.0, unsigned milliseconds = 0) {
        simulateScan(buffer, clock, true, setup, interval, 3, {second, milliseconds});
        return buffer.header().count;
    }

    // The readings of one scan of this setup, made at kNow.
    std::vector<float> readings() {
        std::int64_t fresh = 0;
        simulateScan(buffer, fresh, false, setup, 1.0, 3, {kNow, 0});
        const ScanRecord scan = buffer.record(0);
        const auto count = static_cast<std::size_t>((buffer.header().recordSize - KVX_SCAN_HEADER_SIZE) / 4);
        return {scan.readings, scan.readings + count};
    }

    InstrumentSetup setup;
    ScanBuffer buffer;
    std::int64_t clock = 0;
};

TEST_F(SimulatedScan, AtMostOneScanASecondAndOnePerInterval) {
    simulateScan(buffer, clock, false, setup, 0.5, 3, {kNow, 0});
    EXPECT_EQ(buffer.header().count, 1) << "a run without data starts at once";
    EXPECT_EQ(scanAt(kNow, 0.5), 0);
    EXPECT_EQ(scanAt(kNow + 1, 0.5), 1) << "interval 0.5 s gives one scan a second";

    EXPECT_EQ(scanAt(kNow + 3, 3.0), 0);
    EXPECT_EQ(scanAt(kNow + 4, 3.0), 1);
    EXPECT_EQ(scanAt(kNow - 10, 3.0), 1) << "a clock that went backwards starts over";
}

TEST_F(SimulatedScan, TheRecordCarriesTimeAllDioLinesHighAndNoAlarms) {
    setChannel(21, ChannelFunction::Average, RangeCode::Off);
    ASSERT_EQ(scanAt(kNow, 1.0, 250), 1);
    EXPECT_EQ(buffer.header().recordSize, 28 + 2 * 4);
    const ScanRecord scan = buffer.record(0);
    const InstrumentTime expected = instrumentTimeOf(kNow);
    EXPECT_EQ(std::memcmp(&scan.time, &expected, sizeof expected), 0);
    EXPECT_EQ(scan.msAndDio, 0xFF0000u + 250);
    EXPECT_EQ(scan.alarm1 | scan.alarm2 | scan.totalizer, 0u);
    EXPECT_EQ(scan.readings[1], 0.0f) << "computed channels read 0";
}

TEST_F(SimulatedScan, ReadingsStayWithinTheRangeOfEachFunction) {
    setChannel(2, ChannelFunction::Ohms4W, RangeCode::Ohms3k);
    setChannel(3, ChannelFunction::Thermocouple, RangeCode::TcK);
    setChannel(4, ChannelFunction::Freq, RangeCode::Off);
    setChannel(5, ChannelFunction::Current, RangeCode::Current0to100mA);
    const std::vector<float> values = readings();
    ASSERT_EQ(values.size(), 5u);
    EXPECT_TRUE(values[0] >= -3.0f && values[0] <= 3.0f);
    EXPECT_TRUE(values[1] >= 0.0f && values[1] <= 3000.0f);
    EXPECT_TRUE(values[2] >= 0.0f && values[2] <= 100.0f);
    EXPECT_TRUE(values[3] >= 0.0f && values[3] <= 900.0f);
    EXPECT_TRUE(values[4] >= 0.0f && values[4] <= 0.1f);
}

TEST_F(SimulatedScan, TheScaleFollowsTheRangeOrTheChannelBefore) {
    const float on3V = readings()[0];
    setChannel(1, ChannelFunction::Vdc, RangeCode::Vdc30V);
    EXPECT_FLOAT_EQ(readings()[0], 10.0f * on3V);

    setChannel(2, ChannelFunction::Vac, RangeCode::Vac30V);
    const float own = readings()[1];
    setChannel(2, ChannelFunction::Vac, RangeCode::Ohms3k);
    EXPECT_FLOAT_EQ(readings()[1], own) << "a range without a scale keeps channel 1's 30 V";
}

} // namespace
} // namespace korvel

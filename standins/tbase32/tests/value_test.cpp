// Values: what goes in comes back out, the deadband and its tuning, and the
// newest time.
#include <cmath>
#include <limits>

#include "historian_fixture.h"

namespace tbase {
namespace {

constexpr double kStart = 1.7e12; // a time in 2023, ms since 1970 GMT

class ValueTest : public HistorianTest {
protected:
    TBaseDataSet dataSet = nullptr;
    TBaseTag reading = nullptr;

    void SetUp() override {
        HistorianTest::SetUp();
        dataSet = openNew("values");
        reading = TBaseAddTag(dataSet, "0101", "Oven", "degC", TBASE_NO_LIMIT, -TBASE_NO_LIMIT, 0);
        ASSERT_NE(reading, nullptr);
    }
    void TearDown() override {
        if (dataSet) {
            EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0) << lastError();
        }
        HistorianTest::TearDown();
    }
    void reopen() {
        ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0) << lastError();
        dataSet = TBaseOpenDataSet("values", "");
        ASSERT_NE(dataSet, nullptr) << lastError();
        reading = TBaseEnableTagLogging(dataSet, "0101");
    }
};

TEST_F(ValueTest, EveryValueComesBackAtItsTimeSpecialReadingsIncluded) {
    // The logger's markers for an open thermocouple and the two overloads, and the float extremes.
    const float markers[] = {9.0e9f,
                             1.0e9f,
                             -1.0e9f,
                             0.0f,
                             -0.0f,
                             1.5f,
                             -273.15f,
                             std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::lowest(),
                             std::numeric_limits<float>::denorm_min()};
    constexpr int kScans = sizeof markers / sizeof markers[0];
    double times[kScans];
    for (int i = 0; i < kScans; ++i) times[i] = kStart + i * 250.0 + 0.5 * (i % 2); // odd ms and halves
    ASSERT_EQ(TBaseUpdateAllTags(dataSet, kScans, times, markers), 0) << lastError();
    ASSERT_EQ(TBaseWriteProcessing(dataSet), 0) << lastError();

    const Values stored = fetchAll("values", "0101");
    ASSERT_EQ(stored.size(), static_cast<std::size_t>(kScans));
    for (int i = 0; i < kScans; ++i) {
        EXPECT_EQ(stored[i].first, times[i]);
        EXPECT_EQ(stored[i].second, static_cast<double>(markers[i])) << i;
    }
    EXPECT_EQ(TBaseGetNewestTime(dataSet), times[kScans - 1]);
}

TEST_F(ValueTest, FetchingIsBoundedByTimesAndCount) {
    for (int i = 0; i < 20; ++i) ASSERT_EQ(TBaseUpdateTag(reading, kStart + i * 1000.0, i), 0);
    processAll(dataSet);
    double times[20];
    double values[20];
    // after is exclusive, until inclusive.
    ASSERT_EQ(TBaseFetchData("values", "0101", kStart + 2000, kStart + 5000, times, values, 20), 3);
    EXPECT_EQ(values[0], 3.0);
    EXPECT_EQ(values[2], 5.0);
    ASSERT_EQ(TBaseFetchData("VALUES", "0101", 0, 1e300, times, values, 4), 4);
    EXPECT_EQ(times[3], kStart + 3000);
    EXPECT_EQ(TBaseFetchData("values", "0101", 0, 1e300, nullptr, nullptr, 0), 0);
    EXPECT_EQ(fetchAll("values", "0101").size(), 20u);

    EXPECT_EQ(TBaseFetchData("values", "0101", 0, 1e300, times, values, -1), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
    EXPECT_EQ(TBaseFetchData("values", "0101", 0, 1e300, nullptr, values, 5), -1);
    EXPECT_EQ(TBaseFetchData("values", "0199", 0, 1e300, times, values, 5), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_TAG_UNKNOWN);
    EXPECT_EQ(TBaseFetchData("other", "0101", 0, 1e300, times, values, 5), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_UNKNOWN);
}

TEST_F(ValueTest, ALaterValueAtTheSameTimeReplacesAndOrderIsByTime) {
    ASSERT_EQ(TBaseUpdateTag(reading, kStart + 2000, 2.0), 0);
    ASSERT_EQ(TBaseUpdateTag(reading, kStart + 1000, 1.0), 0); // came late
    ASSERT_EQ(TBaseUpdateTag(reading, kStart + 2000, 22.0), 0);
    processAll(dataSet);
    EXPECT_EQ(fetchAll("values", "0101"), (Values{{kStart + 1000, 1.0}, {kStart + 2000, 22.0}}));
    EXPECT_EQ(TBaseGetNewestTime(dataSet), kStart + 2000);
}

TEST_F(ValueTest, AScanWithAnUnusableValueIsRefusedWhole) {
    const double times[] = {kStart, kStart + 1000};
    const float values[] = {1.0f, std::nanf("")};
    EXPECT_EQ(TBaseUpdateAllTags(dataSet, 2, times, values), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
    const double badTimes[] = {kStart, std::numeric_limits<double>::infinity()};
    const float good[] = {1.0f, 2.0f};
    EXPECT_EQ(TBaseUpdateAllTags(dataSet, 2, badTimes, good), -1);
    EXPECT_EQ(TBaseUpdateAllTags(dataSet, -1, times, good), -1);
    EXPECT_EQ(TBaseUpdateAllTags(dataSet, 1, nullptr, good), -1);
    EXPECT_EQ(TBaseUpdateTag(reading, kStart, std::nan("")), -1);
    EXPECT_EQ(TBaseUpdateAllTags(dataSet, 0, nullptr, nullptr), 0);
    processAll(dataSet);
    EXPECT_TRUE(fetchAll("values", "0101").empty());
    EXPECT_EQ(TBaseGetNewestTime(dataSet), 0.0);
}

TEST_F(ValueTest, TheDeadbandHoldsBackSmallChangesUntilTriggeredOrTooOld) {
    ASSERT_EQ(TBaseModifyTagInfo(reading, "Oven", "degC", TBASE_NO_LIMIT, -TBASE_NO_LIMIT, 1.0), 0);
    const double readings[] = {10.0, 10.5, 11.2, 11.0, 9.9, 10.4};
    for (int i = 0; i < 6; ++i) ASSERT_EQ(TBaseUpdateTag(reading, kStart + i * 1000.0, readings[i]), 0);
    processAll(dataSet);
    EXPECT_EQ(fetchAll("values", "0101"), (Values{{kStart, 10.0}, {kStart + 2000, 11.2}, {kStart + 4000, 9.9}}));

    // A trigger stores the value held back, so the data set ends on the current value.
    ASSERT_EQ(TBaseTriggerAllTags(dataSet), 0);
    processAll(dataSet);
    EXPECT_EQ(fetchAll("values", "0101").back(), (std::pair<double, double>{kStart + 5000, 10.4}));

    // Tuning: half the deadband, and no value older than 2 s left unstored.
    const TBaseTagTuning tuning{0.5f, 2000.0};
    ASSERT_EQ(TBaseSetAllTagTuning(dataSet, &tuning, 3), 0) << lastError();
    const double more[] = {10.8, 11.0, 11.1, 11.2};
    for (int i = 0; i < 4; ++i) ASSERT_EQ(TBaseUpdateTag(reading, kStart + 6000 + i * 1000.0, more[i]), 0);
    processAll(dataSet);
    // 10.8 moved 0.4 of 0.5 and is held back; 11.0 moved 0.6; 11.1 is held back;
    // 11.2 moved only 0.2 but comes 2 s after the last stored value.
    EXPECT_EQ(fetchAll("values", "0101"), (Values{{kStart, 10.0},
                                                  {kStart + 2000, 11.2},
                                                  {kStart + 4000, 9.9},
                                                  {kStart + 5000, 10.4},
                                                  {kStart + 7000, 11.0},
                                                  {kStart + 9000, 11.2}}));

    const TBaseTagTuning everything{0.0f, 0.0};
    ASSERT_EQ(TBaseSetAllTagTuning(dataSet, &everything, 1), 0); // scale only; 0 stores every value
    ASSERT_EQ(TBaseUpdateTag(reading, kStart + 10000, 11.1), 0);
    processAll(dataSet);
    EXPECT_EQ(fetchAll("values", "0101").size(), 7u);

    EXPECT_EQ(TBaseSetAllTagTuning(dataSet, &tuning, 2), -1);
    EXPECT_EQ(TBaseSetAllTagTuning(dataSet, nullptr, 3), -1);
    const TBaseTagTuning negative{-1.0f, 0.0};
    EXPECT_EQ(TBaseSetAllTagTuning(dataSet, &negative, 3), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
}

TEST_F(ValueTest, AReopenedDataSetKnowsItsNewestValues) {
    ASSERT_EQ(TBaseModifyTagInfo(reading, "Oven", "degC", TBASE_NO_LIMIT, -TBASE_NO_LIMIT, 1.0), 0);
    ASSERT_EQ(TBaseUpdateTag(reading, kStart, 10.0), 0);
    ASSERT_EQ(TBaseUpdateTag(reading, kStart + 1000, 20.0), 0);
    processAll(dataSet);
    reopen();
    EXPECT_EQ(TBaseGetNewestTime(dataSet), kStart + 1000);
    // The deadband goes on from the newest stored value.
    ASSERT_EQ(TBaseUpdateTag(reading, kStart + 2000, 20.5), 0);
    processAll(dataSet);
    EXPECT_EQ(fetchAll("values", "0101").size(), 2u);
}

TEST_F(ValueTest, ALargeQueueIsStoredInSharesAndHasALimit) {
    constexpr int kScans = 60000;
    std::vector<double> times(kScans);
    std::vector<float> values(kScans);
    for (int i = 0; i < kScans; ++i) {
        times[static_cast<std::size_t>(i)] = kStart + i;
        values[static_cast<std::size_t>(i)] = static_cast<float>(i);
    }
    ASSERT_EQ(TBaseUpdateAllTags(dataSet, kScans, times.data(), values.data()), 0);
    EXPECT_EQ(TBaseWriteProcessing(dataSet), 1); // work remains
    EXPECT_EQ(TBaseWriteProcessing(dataSet), 0);
    EXPECT_EQ(TBaseGetNewestTime(dataSet), kStart + kScans - 1);

    std::vector<double> manyTimes(TBASE_MAX_QUEUED + 1, kStart);
    std::vector<float> manyValues(TBASE_MAX_QUEUED + 1, 1.0f);
    EXPECT_EQ(TBaseUpdateAllTags(dataSet, TBASE_MAX_QUEUED + 1, manyTimes.data(), manyValues.data()), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_QUEUE_FULL);
}

} // namespace
} // namespace tbase

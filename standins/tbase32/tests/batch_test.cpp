// Batches: named periods of a data set, one open at a time.
#include "historian_fixture.h"

namespace tbase {
namespace {

constexpr double kStart = 1.7e12;

struct Batch {
    std::string name;
    double start;
    double end;
    bool operator==(const Batch &) const = default;
};

std::vector<Batch> listed(TBaseDataSet dataSet) {
    std::vector<Batch> batches;
    char name[TBASE_MAX_NAME + 1];
    double start = 0;
    double end = 0;
    int found = TBaseGetFirstBatchInfo(dataSet, name, sizeof name, &start, &end);
    for (; found == 1; found = TBaseGetNextBatchInfo(dataSet, name, sizeof name, &start, &end))
        batches.push_back(Batch{name, start, end});
    EXPECT_EQ(found, 0);
    return batches;
}

using BatchTest = HistorianTest;

TEST_F(BatchTest, BatchesAreListedInOrderOfTheirStart) {
    TBaseDataSet dataSet = openNew("batches");
    EXPECT_TRUE(listed(dataSet).empty());
    ASSERT_EQ(TBaseAddBatch(dataSet, "run.set:2", kStart + 5000), 0);
    ASSERT_EQ(TBaseEndBatch(dataSet, kStart + 5000, kStart + 5999), 0);
    ASSERT_EQ(TBaseAddBatch(dataSet, "run.set:1", kStart), 0); // an earlier period, added later
    ASSERT_EQ(TBaseEndBatch(dataSet, kStart, kStart + 4999), 0);
    ASSERT_EQ(TBaseAddBatch(dataSet, "run.set:3", kStart + 6000), 0);
    EXPECT_EQ(listed(dataSet), (std::vector<Batch>{{"run.set:1", kStart, kStart + 4999},
                                                   {"run.set:2", kStart + 5000, kStart + 5999},
                                                   {"run.set:3", kStart + 6000, 0.0}}));
    char name[4];
    EXPECT_EQ(TBaseGetFirstBatchInfo(dataSet, name, sizeof name, nullptr, nullptr), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_BUFFER_TOO_SMALL);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

TEST_F(BatchTest, OneBatchIsOpenAtATimeAndEndsAfterItBegan) {
    TBaseDataSet dataSet = openNew("strict");
    EXPECT_EQ(TBaseEndBatch(dataSet, kStart, kStart + 1), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_NO_BATCH_OPEN);
    ASSERT_EQ(TBaseAddBatch(dataSet, "a:1", kStart), 0);
    EXPECT_EQ(TBaseAddBatch(dataSet, "a:2", kStart + 10), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_BATCH_OPEN);
    EXPECT_EQ(TBaseEndBatch(dataSet, kStart + 1, kStart + 10), -1); // not the open batch's start
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_NO_BATCH_OPEN);
    EXPECT_EQ(TBaseEndBatch(dataSet, kStart, kStart - 1), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
    EXPECT_EQ(TBaseAddBatch(dataSet, "", kStart), -1);
    EXPECT_EQ(TBaseAddBatch(dataSet, std::string(TBASE_MAX_NAME + 1, 'b').c_str(), kStart), -1);
    EXPECT_EQ(TBaseEndBatch(dataSet, kStart, kStart), 0);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

TEST_F(BatchTest, ABatchLeftOpenEndsAfterTheNewestValueWhenReopened) {
    TBaseDataSet dataSet = openNew("left");
    TBaseTag tag = TBaseAddTag(dataSet, "0101", "", "", 0, 0, 0);
    ASSERT_EQ(TBaseAddBatch(dataSet, "left:1", kStart), 0);
    ASSERT_EQ(TBaseUpdateTag(tag, kStart + 2500, 1.0), 0);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0); // the batch was never ended

    dataSet = TBaseOpenDataSet("left", "");
    EXPECT_EQ(listed(dataSet), (std::vector<Batch>{{"left:1", kStart, kStart + 2501}}));
    ASSERT_EQ(TBaseAddBatch(dataSet, "left:2", kStart + 3000), 0); // so a new one can begin
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

} // namespace
} // namespace tbase

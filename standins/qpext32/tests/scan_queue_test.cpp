#include "scan_queue.h"

#include "played_logger.h"

#include <gtest/gtest.h>

#include <vector>

namespace qpext32 {
namespace {

std::vector<std::uint8_t> records(std::uint64_t first, int count, int readings) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        const auto record = qpext32_test::scanRecord(first + static_cast<std::uint64_t>(i), readings);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

TEST(ScanQueueTest, TheQueueHoldsWholeScansOfItsBytesAndCountsTheRest) {
    ScanQueue queue(100); // two scans of 40 bytes; 20 bytes stay unused
    const auto five = records(1, 5, 3);
    queue.push(five.data(), 5, 40, 7);
    ScanBatch batch;
    queue.takeAll(batch);
    ASSERT_EQ(batch.marks.size(), 2u);
    EXPECT_EQ(batch.records, std::vector<std::uint8_t>(five.begin(), five.begin() + 80));
    EXPECT_EQ(batch.marks[1].number, 2u);
    EXPECT_EQ(batch.marks[1].remaining, 7u);
    EXPECT_EQ(batch.lost, 3u);

    // The next read finds the queue empty again; numbers go on.
    queue.push(five.data(), 1, 40, 0);
    queue.takeAll(batch);
    ASSERT_EQ(batch.marks.size(), 1u);
    EXPECT_EQ(batch.marks[0].number, 6u);
    EXPECT_EQ(batch.lost, 0u);
    EXPECT_EQ(batch.lostTotal, 3u);
    EXPECT_FALSE(queue.hasNews());
}

TEST(ScanQueueTest, ScansOfAnotherRecordSizeReplaceTheQueuedOnes) {
    ScanQueue queue(148);
    const auto small = records(1, 2, 3);
    queue.push(small.data(), 2, 40, 0);
    const auto full = records(3, 1, 30);
    queue.push(full.data(), 1, 148, 0);
    ScanBatch batch;
    queue.takeAll(batch);
    EXPECT_EQ(batch.recordSize, 148u);
    ASSERT_EQ(batch.marks.size(), 1u);
    EXPECT_EQ(batch.marks[0].number, 3u);
    EXPECT_EQ(batch.lost, 2u);
}

TEST(ScanQueueTest, AQueueSmallerThanAScanLosesEveryScan) {
    ScanQueue queue(100);
    const auto full = records(1, 2, 30);
    queue.push(full.data(), 2, 148, 0);
    queue.skip(3);
    queue.push(full.data(), 1, 148, 0);
    ScanBatch batch;
    queue.takeAll(batch);
    EXPECT_TRUE(batch.marks.empty());
    EXPECT_EQ(batch.lost, 3u) << "skipped scans were not meant for anyone, so they are not lost";
}

} // namespace
} // namespace qpext32

// What a crash or a full disk may cost: nothing that was reported stored.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "historian_fixture.h"

namespace tbase {
namespace {

constexpr double kStart = 1.7e12;

using DurabilityTest = HistorianTest;

// The child's side: scan after scan of two tags, each reported on the pipe
// once TBaseWriteProcessing has said it is stored; a rollover every 40 scans.
[[noreturn]] void writeUntilKilled(int report) {
    TBaseDataSet dataSet = TBaseOpenDataSet("crash", "killed while writing");
    if (!dataSet || !TBaseAddTag(dataSet, "0101", "", "", 0, 0, 0) || !TBaseAddTag(dataSet, "01DIO", "", "", 0, 0, 0))
        ::_exit(2);
    for (std::int32_t scan = 0;; ++scan) {
        const double time = kStart + scan * 10.0;
        const float values[] = {static_cast<float>(scan), static_cast<float>(-scan)};
        if (scan % 40 == 39 && TBaseRollOverNOWFile(dataSet, 1) != 0) ::_exit(3);
        if (TBaseUpdateAllTags(dataSet, 1, &time, values) != 0) ::_exit(4);
        int result = 0;
        while ((result = TBaseWriteProcessing(dataSet)) == 1) {}
        if (result != 0) ::_exit(5);
        if (::write(report, &scan, sizeof scan) != sizeof scan) ::_exit(6);
    }
}

TEST_F(DurabilityTest, AKilledWriterLosesNoValueItReportedStored) {
    addDataSet("crash");
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        writeUntilKilled(pipeEnds[1]);
    }
    ::close(pipeEnds[1]);

    // Kill it in the middle of its work, once it has stored some hundreds of scans.
    std::int32_t reported = -1;
    std::int32_t scan = 0;
    while (reported < 300 && ::read(pipeEnds[0], &scan, sizeof scan) == sizeof scan) reported = scan;
    ::kill(child, SIGKILL);
    while (::read(pipeEnds[0], &scan, sizeof scan) == sizeof scan) reported = scan;
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with " << WEXITSTATUS(status);
    ASSERT_GE(reported, 300);

    // Every reported scan is there under both tags; at most the one in flight beyond.
    const Values readings = fetchAll("crash", "0101");
    const Values dio = fetchAll("crash", "01DIO");
    ASSERT_GE(readings.size(), static_cast<std::size_t>(reported) + 1);
    ASSERT_LE(readings.size(), static_cast<std::size_t>(reported) + 2);
    for (std::int32_t i = 0; i <= reported; ++i) {
        const auto index = static_cast<std::size_t>(i);
        ASSERT_EQ(readings[index], (std::pair<double, double>{kStart + i * 10.0, i})) << i;
        ASSERT_EQ(dio[index], (std::pair<double, double>{kStart + i * 10.0, -i})) << i;
    }

    // The data set opens again at once: the killed writer's hold went with it.
    TBaseDataSet dataSet = TBaseOpenDataSet("crash", "");
    ASSERT_NE(dataSet, nullptr) << lastError();
    EXPECT_GE(TBaseGetNewestTime(dataSet), kStart + reported * 10.0);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

TEST_F(DurabilityTest, AFullDiskIsReportedAndTheValuesWaitForRoom) {
    TBaseDataSet dataSet = openNew("full");
    TBaseTag tag = TBaseAddTag(dataSet, "0101", "", "", 0, 0, 0);
    ASSERT_EQ(TBaseUpdateTag(tag, kStart, 1.0), 0);
    processAll(dataSet);

    setFreeSpace(TBASE_DISK_RESERVE - 1);
    ASSERT_EQ(TBaseUpdateTag(tag, kStart + 1000, 2.0), 0);
    EXPECT_EQ(TBaseWriteProcessing(dataSet), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DISK_FULL);
    EXPECT_NE(std::strstr(TBaseGetLastErrorString(), "1048575 bytes"), nullptr) << TBaseGetLastErrorString();
    EXPECT_EQ(TBaseAddTag(dataSet, "01DIO", "", "", 0, 0, 0), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DISK_FULL);
    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 1), 0);
    EXPECT_EQ(TBaseWriteProcessing(dataSet), -1);
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 1);
    EXPECT_EQ(fetchAll("full", "0101").size(), 1u);

    setFreeSpace(TBASE_DISK_RESERVE);
    processAll(dataSet);
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 0);
    EXPECT_EQ(fetchAll("full", "0101"), (Values{{kStart, 1.0}, {kStart + 1000, 2.0}}));

    // Closing with values that cannot be stored reports it and closes all the same.
    setFreeSpace(0);
    ASSERT_EQ(TBaseUpdateTag(tag, kStart + 2000, 3.0), 0);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DISK_FULL);
    EXPECT_EQ(TBaseGetTagCount(dataSet), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_HANDLE);
}

} // namespace
} // namespace tbase

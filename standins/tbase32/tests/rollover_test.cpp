// Rolling the .NOW file over: numbered files beside it, read together.
#include <sqlite3.h>

#include <cstdio>

#include "historian_fixture.h"

namespace tbase {
namespace {

constexpr double kStart = 1.7e12;

class RolloverTest : public HistorianTest {
protected:
    TBaseDataSet dataSet = nullptr;
    TBaseTag reading = nullptr;
    std::string directory;

    void SetUp() override {
        HistorianTest::SetUp();
        dataSet = openNew("roll");
        directory = dataRoot() + "/_roll";
        reading = TBaseAddTag(dataSet, "0101", "", "", 0, 0, 0);
        ASSERT_NE(reading, nullptr);
    }
    void TearDown() override {
        if (dataSet) {
            EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0) << lastError();
        }
        HistorianTest::TearDown();
    }
    void write(int first, int count) {
        for (int i = first; i < first + count; ++i) ASSERT_EQ(TBaseUpdateTag(reading, kStart + i * 1000.0, i), 0);
    }
    std::vector<std::string> valueFiles() const {
        std::vector<std::string> found;
        for (const std::string &name : filesIn(directory))
            if (name.find(".HIS") != std::string::npos || name == "roll.NOW") found.push_back(name);
        return found;
    }
    std::int64_t nowFileSize() const {
        std::int64_t size = -1;
        char path[512];
        EXPECT_EQ(TBaseGetNOWInformation(dataSet, path, sizeof path, &size), 0);
        return size;
    }
};

// Values in one file, read with SQLite itself.
int valuesIn(const std::string &path) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *count = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM value", -1, &count, nullptr);
    const int values = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : -1;
    sqlite3_finalize(count);
    sqlite3_close(db);
    return values;
}

TEST_F(RolloverTest, ValuesQueuedBeforeARolloverGoIntoTheRolledOverFile) {
    write(0, 5);
    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 1), 0);
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 1);
    processAll(dataSet);
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 0);
    EXPECT_EQ(valueFiles(), (std::vector<std::string>{"roll.00001.HIS", "roll.NOW"}));
    EXPECT_EQ(valuesIn(directory + "/roll.00001.HIS"), 5);

    write(5, 3);
    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 0), 0); // done before it returns
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 0);
    write(8, 2);
    processAll(dataSet);
    EXPECT_EQ(valueFiles(), (std::vector<std::string>{"roll.00001.HIS", "roll.00002.HIS", "roll.NOW"}));
    EXPECT_EQ(valuesIn(directory + "/roll.00002.HIS"), 3);
    EXPECT_EQ(valuesIn(directory + "/roll.NOW"), 2);

    // One series across the three files, and the newest time knows them all.
    const Values stored = fetchAll("roll", "0101");
    ASSERT_EQ(stored.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(stored[static_cast<std::size_t>(i)].second, i);
    EXPECT_EQ(TBaseGetNewestTime(dataSet), kStart + 9000);
}

TEST_F(RolloverTest, AnEmptyNowFileIsNotRolledOverAndNumbersGoOnFromTheHighest) {
    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 1), 0);
    processAll(dataSet);
    EXPECT_EQ(valueFiles(), (std::vector<std::string>{"roll.NOW"}));

    write(0, 1);
    processAll(dataSet);
    const std::int64_t grown = nowFileSize();
    EXPECT_GT(grown, 0);
    // Files 00001 and 00007 of an earlier life: the next one is 00008.
    for (const char *name : {"/roll.00001.HIS", "/roll.00007.HIS"}) {
        sqlite3 *db = nullptr;
        sqlite3_open((directory + name).c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE value(tag INTEGER, time REAL, value REAL, PRIMARY KEY(tag, time))", nullptr,
                     nullptr, nullptr);
        sqlite3_close(db);
    }
    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 0), 0) << lastError();
    EXPECT_EQ(valueFiles(),
              (std::vector<std::string>{"roll.00001.HIS", "roll.00007.HIS", "roll.00008.HIS", "roll.NOW"}));
    EXPECT_EQ(valuesIn(directory + "/roll.00008.HIS"), 1);
}

TEST_F(RolloverTest, AReaderInsideTheNowFileDelaysTheRolloverWithoutLosingValues) {
    write(0, 3);
    processAll(dataSet);
    sqlite3 *reader = nullptr;
    ASSERT_EQ(sqlite3_open_v2((directory + "/roll.NOW").c_str(), &reader, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM value;", nullptr, nullptr, nullptr);

    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 1), 0);
    EXPECT_EQ(TBaseWriteProcessing(dataSet), 1); // still waiting for the reader
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 1);
    write(3, 1);
    EXPECT_EQ(TBaseWriteProcessing(dataSet), 1);

    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    processAll(dataSet);
    EXPECT_EQ(TBaseRollOverInProgress(dataSet), 0);
    EXPECT_EQ(valuesIn(directory + "/roll.00001.HIS"), 4);
    EXPECT_EQ(fetchAll("roll", "0101").size(), 4u);
}

TEST_F(RolloverTest, ANowFileLostByAnInterruptedRolloverIsMadeAgainAtClose) {
    write(0, 2);
    ASSERT_EQ(TBaseRollOverNOWFile(dataSet, 0), 0);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    // What a rollover cut short between its two steps leaves.
    ASSERT_EQ(std::remove((directory + "/roll.NOW").c_str()), 0);

    dataSet = TBaseOpenDataSet("roll", "");
    ASSERT_NE(dataSet, nullptr) << lastError();
    char path[512];
    ASSERT_EQ(TBaseGetNOWInformation(dataSet, path, sizeof path, nullptr), 0);
    EXPECT_FALSE(exists(path)); // what the logger looks at to tell the user
    EXPECT_EQ(TBaseGetNewestTime(dataSet), kStart + 1000);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    EXPECT_TRUE(exists(path));

    dataSet = TBaseOpenDataSet("roll", "");
    reading = TBaseEnableTagLogging(dataSet, "0101");
    write(2, 1);
    processAll(dataSet);
    EXPECT_EQ(fetchAll("roll", "0101").size(), 3u);
}

} // namespace
} // namespace tbase

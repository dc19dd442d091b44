// The registry in infolink.ini and the lifecycle of data sets.
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "historian_fixture.h"

namespace tbase {
namespace {

using DataSetTest = HistorianTest;

std::string fileContent(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> listedNames() {
    char buffer[512];
    const int count = TBaseGetDataSetList(buffer, sizeof buffer);
    std::vector<std::string> names;
    for (const char *name = buffer; *name; name += std::strlen(name) + 1) names.emplace_back(name);
    EXPECT_EQ(count, static_cast<int>(names.size()));
    return names;
}

TEST_F(DataSetTest, InfolinkIsMadeWhereTheEnvironmentSays) {
    char path[256];
    const std::string expected = infolinkDir() + "/infolink.ini";
    ASSERT_EQ(TBaseGetInfolinkPath(path, sizeof path), static_cast<int>(expected.size()));
    EXPECT_EQ(path, expected);
    EXPECT_EQ(fileContent(expected), "[TL Settings]\r\nTLLocal Path=\r\n");
    EXPECT_EQ(TBaseGetInfolinkPath(path, static_cast<int>(expected.size())), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_BUFFER_TOO_SMALL);
}

TEST_F(DataSetTest, NamesAreRegisteredFoundWithoutCaseListedAndDeleted) {
    const std::string run1 = addDataSet("Run 1-01m");
    const std::string run2 = addDataSet("Run 1-05s");
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"Run 1-01m", "Run 1-05s"}));

    char directory[256];
    ASSERT_EQ(TBaseGetDataSetPath("run 1-01M", directory, sizeof directory), static_cast<int>(run1.size()));
    EXPECT_EQ(directory, run1);
    EXPECT_EQ(TBaseAddDataSet("RUN 1-01m", "/elsewhere"), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_EXISTS);

    // Deleting forgets the name and leaves the files; adding it again finds them.
    TBaseDataSet dataSet = TBaseOpenDataSet("Run 1-01m", "first run");
    ASSERT_NE(TBaseAddTag(dataSet, "0101", "Oven", "degC", TBASE_NO_LIMIT, -TBASE_NO_LIMIT, 0), nullptr);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    ASSERT_EQ(TBaseDeleteDataSet("run 1-01m"), 0) << lastError();
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"Run 1-05s"}));
    EXPECT_EQ(TBaseGetDataSetPath("Run 1-01m", directory, sizeof directory), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_UNKNOWN);
    EXPECT_TRUE(exists(run1 + "/Run 1-01m.KEY"));
    ASSERT_EQ(TBaseAddDataSet("Run 1-01m", (run1 + "/").c_str()), 0);
    ASSERT_EQ(TBaseGetDataSetPath("Run 1-01m", directory, sizeof directory), static_cast<int>(run1.size()));
    dataSet = TBaseOpenDataSet("Run 1-01m", nullptr);
    EXPECT_EQ(TBaseGetTagCount(dataSet), 1);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    EXPECT_EQ(TBaseDeleteDataSet("never added"), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_UNKNOWN);
    EXPECT_EQ(TBaseDeleteDataSet(nullptr), -1);
}

TEST_F(DataSetTest, BadNamesAndDirectoriesAreRefused) {
    const std::string tooLong(TBASE_MAX_NAME + 1, 'x');
    for (const char *name : {"", "a/b", "a\\b", "a=b", ";a", "[a", " a", "a ", "a\tb", tooLong.c_str()}) {
        EXPECT_EQ(TBaseAddDataSet(name, "/data"), -1) << name;
        EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT) << name;
    }
    EXPECT_EQ(TBaseAddDataSet(nullptr, "/data"), -1);
    for (const char *directory : {"", "relative/dir", "/dir\nwith line"}) {
        EXPECT_EQ(TBaseAddDataSet("name", directory), -1) << directory;
        EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
    }
    EXPECT_STRNE(TBaseGetLastErrorString(), "");
    EXPECT_EQ(TBaseAddDataSet(std::string(TBASE_MAX_NAME, 'x').c_str(), "/data"), 0);
    EXPECT_EQ(TBaseAddDataSet("a:b with; inside", "/data"), 0);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_OK);
    EXPECT_STREQ(TBaseGetLastErrorString(), "");
}

TEST_F(DataSetTest, TheRegistryHasALimitAndNeedsAWritableFile) {
    for (int i = 0; i < TBASE_MAX_DATA_SETS; ++i)
        ASSERT_EQ(TBaseAddDataSet(("set" + std::to_string(i)).c_str(), "/data"), 0) << lastError();
    EXPECT_EQ(TBaseAddDataSet("one more", "/data"), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_TOO_MANY_DATA_SETS);

    ASSERT_EQ(TBaseDeleteDataSet("set0"), 0);
    ASSERT_EQ(::chmod((infolinkDir() + "/infolink.ini").c_str(), 0444), 0);
    EXPECT_EQ(TBaseAddDataSet("one more", "/data"), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_INFOLINK);
    EXPECT_EQ(TBaseDeleteDataSet("set1"), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_INFOLINK);
}

TEST_F(DataSetTest, InitFailsWhereInfolinkCannotBeMade) {
    ::setenv("TBASE32_INFOLINK_DIR", (root() + "/missing").c_str(), 1);
    EXPECT_EQ(TBaseInitTBase(), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_INFOLINK);
}

TEST_F(DataSetTest, OpeningNeedsARegisteredNameAnExistingDirectoryAndNoOtherHolder) {
    EXPECT_EQ(TBaseOpenDataSet("unknown", ""), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_UNKNOWN);
    ASSERT_EQ(TBaseAddDataSet("nowhere", (root() + "/no such dir").c_str()), 0);
    EXPECT_EQ(TBaseOpenDataSet("nowhere", ""), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_FILE);
    EXPECT_EQ(TBaseOpenDataSet("nowhere", std::string(TBASE_MAX_DESCRIPTION + 1, 'd').c_str()), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);

    TBaseDataSet first = openNew("held", "comment");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TBaseOpenDataSet("held", ""), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_IN_USE);
    EXPECT_EQ(TBaseDeleteDataSet("held"), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_DATA_SET_IN_USE);
    ASSERT_EQ(TBaseCloseDataSet(first, 1), 0);
    TBaseDataSet second = TBaseOpenDataSet("held", "");
    EXPECT_NE(second, nullptr) << lastError();
    EXPECT_EQ(TBaseCloseDataSet(second, 0), 0);
}

TEST_F(DataSetTest, TheNowFileComesWithTheFirstTag) {
    TBaseDataSet dataSet = openNew("fresh");
    const std::string directory = dataRoot() + "/_fresh";
    char path[256];
    std::int64_t size = -1;
    ASSERT_EQ(TBaseGetNOWInformation(dataSet, path, sizeof path, &size), 0);
    EXPECT_EQ(path, directory + "/fresh.NOW");
    EXPECT_EQ(size, 0);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(filesIn(directory),
              (std::vector<std::string>{"fresh.KEY", "fresh.KEY-shm", "fresh.KEY-wal", "fresh.LCK"}));

    ASSERT_NE(TBaseAddTag(dataSet, "0101", "", "", 1, 0, 0), nullptr);
    EXPECT_TRUE(exists(path));
    ASSERT_EQ(TBaseGetNOWInformation(dataSet, path, sizeof path, &size), 0);
    EXPECT_GT(size, 0);
    EXPECT_EQ(TBaseGetNOWInformation(dataSet, path, 4, nullptr), -1);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    EXPECT_EQ(filesIn(directory), (std::vector<std::string>{"fresh.KEY", "fresh.LCK", "fresh.NOW"}));
}

TEST_F(DataSetTest, ClosedOrForeignHandlesAreRefusedNotFollowed) {
    TBaseDataSet dataSet = openNew("gone");
    TBaseTag tag = TBaseAddTag(dataSet, "0101", "", "", 1, 0, 0);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    int notAHandle = 0;
    for (TBaseDataSet stale :
         {dataSet, static_cast<TBaseDataSet>(nullptr), reinterpret_cast<TBaseDataSet>(&notAHandle)}) {
        EXPECT_EQ(TBaseGetTagCount(stale), -1);
        EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_HANDLE);
        EXPECT_EQ(TBaseWriteProcessing(stale), -1);
        EXPECT_EQ(TBaseGetNewestTime(stale), -1.0);
        EXPECT_EQ(TBaseCloseDataSet(stale, 1), -1);
        EXPECT_EQ(TBaseRollOverInProgress(stale), -1);
    }
    EXPECT_EQ(TBaseUpdateTag(tag, 1.0, 2.0), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_HANDLE);
    EXPECT_EQ(TBaseCloseTag(tag), -1);
    EXPECT_EQ(TBaseDisableTagLogging(tag), -1);
}

TEST(DataSetStart, EveryCallBeforeInitIsRefused) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process, never initialised
    EXPECT_EXIT(
        {
            char buffer[64];
            const bool refused = TBaseGetDataSetList(buffer, sizeof buffer) == -1 &&
                                 TBaseGetLastErrorNumber() == TBASE_E_NOT_INITIALISED &&
                                 TBaseOpenDataSet("x", "") == nullptr && TBaseGetInfolinkPath(buffer, 64) == -1;
            std::exit(refused ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tbase

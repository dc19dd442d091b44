// tl32 --export from end to end: data sets written through the historian,
// read back by the program as a user would run it.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "scoped_time_zone.h"
#include "tbase32.h"
#include "temp_dir.h"

namespace {

constexpr double kStart = 1700000000000.0; // 2023-11-14 22:13:20 GMT

struct Result {
    std::string output;
    int exitCode = -1;
};

Result runTl32(const std::string &arguments) {
    Result run;
    FILE *pipe = ::popen((std::string(TL32_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class ExportTest : public ::testing::Test {
protected:
    kvtest::TempDir temp;
    std::string directory = temp.path() + "/_run";
    ScopedTimeZone zone{"UTC"};

    void SetUp() override {
        ::setenv("TBASE32_INFOLINK_DIR", temp.path().c_str(), 1);
        ASSERT_EQ(TBaseInitTBase(), 0);
        ::mkdir(directory.c_str(), 0755);
    }
    void TearDown() override { ::unsetenv("TBASE32_INFOLINK_DIR"); }

    TBaseDataSet create(const char *name, std::initializer_list<const char *> tags) {
        EXPECT_EQ(TBaseAddDataSet(name, directory.c_str()), 0);
        TBaseDataSet dataSet = TBaseOpenDataSet(name, "");
        for (const char *tag : tags) EXPECT_NE(TBaseAddTag(dataSet, tag, "", "", 0, 0, 0), nullptr);
        return dataSet;
    }
    static void store(TBaseDataSet dataSet, int scans, const double *times, const float *values) {
        ASSERT_EQ(TBaseUpdateAllTags(dataSet, scans, times, values), 0) << TBaseGetLastErrorString();
        ASSERT_EQ(TBaseWriteProcessing(dataSet), 0) << TBaseGetLastErrorString();
    }
};

TEST_F(ExportTest, AGroupsDataSetsComeOutAsOneTableByTime) {
    TBaseDataSet master = create("run-01m", {"0101", "01DIO"});
    TBaseDataSet slave = create("run-05s", {"0501"});
    const double masterTimes[] = {kStart, kStart + 250, kStart + 1000};
    const float masterValues[] = {23.25f, 3, 9.0e9f, 2, -1.0e9f, 255};
    store(master, 3, masterTimes, masterValues);
    const double slaveTimes[] = {kStart, kStart + 1000};
    const float slaveValues[] = {0.1f, 1.0e9f};
    store(slave, 2, slaveTimes, slaveValues);
    ASSERT_EQ(TBaseRollOverNOWFile(slave, 0), 0); // a table across rolled-over files too
    const double later[] = {kStart + 86400000.5};
    const float laterValue[] = {-4.5f};
    store(slave, 1, later, laterValue);

    // The master stays open, as while logging; the slave is closed.
    ASSERT_EQ(TBaseCloseDataSet(slave, 1), 0);
    const Result run = runTl32("--export " + directory);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "Time,GMT Milliseconds,run-01m:0101,run-01m:01DIO,run-05s:0501\r\n"
                          "2023-11-14 22:13:20.000,1700000000000,23.25,3,0.1\r\n"
                          "2023-11-14 22:13:20.250,1700000000250,9e+09,2,\r\n"
                          "2023-11-14 22:13:21.000,1700000001000,-1e+09,255,1e+09\r\n"
                          "2023-11-15 22:13:20.000,1700086400000.5,,,-4.5\r\n");
    EXPECT_EQ(TBaseCloseDataSet(master, 1), 0);
}

TEST_F(ExportTest, NamesThatNeedQuotesGetThem) {
    TBaseDataSet dataSet = create("a,\"b\"", {"01DIO"});
    const double time[] = {kStart};
    const float value[] = {1};
    store(dataSet, 1, time, value);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    const Result run = runTl32("--export " + directory);
    EXPECT_EQ(run.output.substr(0, run.output.find("\r\n")), "Time,GMT Milliseconds,\"a,\"\"b\"\":01DIO\"");
}

TEST_F(ExportTest, ADirectoryWithoutDataSetsOrWithoutArgumentIsAClearError) {
    Result run = runTl32("--export " + directory);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "tl32: No Trend Link data set (*.KEY) in " + directory + "\n");
    run = runTl32("--export");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("usage: tl32"), std::string::npos);
    // A damaged KEY file is named, not followed.
    FILE *key = std::fopen((directory + "/broken.KEY").c_str(), "w");
    std::fputs("not a data set", key);
    std::fclose(key);
    run = runTl32("--export " + directory);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("broken.KEY"), std::string::npos) << run.output;
}

} // namespace

#include "historian_fixture.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace tbase {

void HistorianTest::SetUp() {
    ::mkdir(infolinkDir().c_str(), 0755);
    ::mkdir(dataRoot().c_str(), 0755);
    ::setenv("TBASE32_INFOLINK_DIR", infolinkDir().c_str(), 1);
    ::unsetenv("TBASE32_FREE_SPACE_FILE");
    ASSERT_EQ(TBaseInitTBase(), 0) << lastError();
}

void HistorianTest::TearDown() {
    ::unsetenv("TBASE32_INFOLINK_DIR");
    ::unsetenv("TBASE32_FREE_SPACE_FILE");
}

std::string HistorianTest::addDataSet(const std::string &name) {
    const std::string directory = dataRoot() + "/_" + name;
    ::mkdir(directory.c_str(), 0755);
    EXPECT_EQ(TBaseAddDataSet(name.c_str(), directory.c_str()), 0) << lastError();
    return directory;
}

TBaseDataSet HistorianTest::openNew(const std::string &name, const char *description) {
    addDataSet(name);
    TBaseDataSet dataSet = TBaseOpenDataSet(name.c_str(), description);
    EXPECT_NE(dataSet, nullptr) << lastError();
    return dataSet;
}

Values HistorianTest::fetchAll(const std::string &dataSet, const std::string &tag) {
    Values all;
    double after = -1e300;
    for (;;) {
        double times[7];
        double values[7];
        const int count = TBaseFetchData(dataSet.c_str(), tag.c_str(), after, 1e300, times, values, 7);
        EXPECT_GE(count, 0) << lastError();
        for (int i = 0; i < count; ++i) all.emplace_back(times[i], values[i]);
        if (count < 7) return all;
        after = times[count - 1];
    }
}

void HistorianTest::processAll(TBaseDataSet dataSet) {
    int result = 0;
    while ((result = TBaseWriteProcessing(dataSet)) == 1) {}
    EXPECT_EQ(result, 0) << lastError();
}

void HistorianTest::setFreeSpace(std::uint64_t bytes) {
    const std::string seam = root() + "/free-space";
    std::ofstream(seam) << bytes << "\n";
    ::setenv("TBASE32_FREE_SPACE_FILE", seam.c_str(), 1);
}

std::string HistorianTest::lastError() {
    return std::to_string(TBaseGetLastErrorNumber()) + ": " + TBaseGetLastErrorString();
}

bool exists(const std::string &path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

std::vector<std::string> filesIn(const std::string &directory) {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(directory.c_str())) {
        while (const dirent *entry = ::readdir(dir))
            if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tbase

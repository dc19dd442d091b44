// A historian of its own for each test: infolink.ini and the data sets in a
// fresh temporary directory, free disk space as the test says.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tbase32.h"
#include "temp_dir.h"

namespace tbase {

using Values = std::vector<std::pair<double, double>>; // (time, value)

class HistorianTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers name with the directory dataRoot()/_name (made here).
    std::string addDataSet(const std::string &name);
    // Registers and opens a new data set.
    TBaseDataSet openNew(const std::string &name, const char *description = "");
    // Every stored value of a tag, read back in pages of 7 to go through the paging too.
    Values fetchAll(const std::string &dataSet, const std::string &tag);
    // Stores everything queued; fails the test when TBaseWriteProcessing fails.
    void processAll(TBaseDataSet dataSet);
    void setFreeSpace(std::uint64_t bytes);

    const std::string &root() const { return temp_.path(); }
    std::string infolinkDir() const { return root() + "/tl"; }
    std::string dataRoot() const { return root() + "/data"; }
    static std::string lastError();

private:
    kvtest::TempDir temp_;
};

bool exists(const std::string &path);
std::vector<std::string> filesIn(const std::string &directory);

} // namespace tbase

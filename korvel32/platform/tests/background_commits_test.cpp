#include "platform/background_commits.h"

#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace korvel {
namespace {

// Twenty data files written and committed as the logging loop does, then
// closed: every commit asked for is settled before its file closes, repeated
// requests for a waiting file do not pile up, and settling a file that never
// asked returns at once.
TEST(BackgroundCommits, SettleEveryFileBeforeItCloses) {
    kvtest::TempDir dir;
    std::vector<int> files;
    for (int i = 0; i < 20; ++i) {
        const std::string path = dir.path() + "/file" + std::to_string(i) + ".csv";
        files.push_back(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        ASSERT_GE(files.back(), 0);
    }
    const std::string line = "35503.500000000, 12.5000, 0, 0, 0, 0\r\n";
    for (int round = 0; round < 5; ++round) {
        for (const int fd : files) {
            ASSERT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
            commitInBackground(fd);
            commitInBackground(fd);
        }
    }
    for (const int fd : files) {
        settleCommits(fd);
        EXPECT_EQ(::close(fd), 0);
    }
    settleCommits(-1);
    settleCommits(files.front()); // closed and settled before
}

} // namespace
} // namespace korvel

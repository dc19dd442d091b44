// The file helpers every saved file goes through: whole replacement that
// keeps permissions and leaves nothing behind on failure, writes that say how
// much the disk took, and locks that never wait.
#include "platform/atomic_replace.h"
#include "platform/file_descriptor.h"

#include <temp_dir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

mode_t modeOf(const std::string &path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

class FileHelpers : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return dir.path() + "/" + name; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path()), {}));
    }

    kvtest::TempDir dir;
};

TEST_F(FileHelpers, AReplacedFileHoldsTheNewBytesAndKeepsItsPermissions) {
    const std::string file = path("korvel32.ini");
    std::ofstream(file) << "old";
    ::chmod(file.c_str(), 0600);
    ASSERT_TRUE(replaceFile(file, "new\r\n"));
    EXPECT_EQ(contentOf(file), "new\r\n");
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(entries(), 1u) << "no temporary file stays";

    const mode_t mask = ::umask(077);
    ASSERT_TRUE(replaceFile(path("made.stp"), "x"));
    ::umask(mask);
    EXPECT_EQ(modeOf(path("made.stp")), 0600u) << "a new file gets what the umask allows";
}

TEST_F(FileHelpers, AFailedReplaceLeavesNothingBehind) {
    EXPECT_FALSE(replaceFile(path("no/such/directory/setup.stp"), "x"));
    EXPECT_EQ(entries(), 0u);
}

TEST_F(FileHelpers, WritesSayHowMuchTheDiskTook) {
    const FileDescriptor full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
    ASSERT_TRUE(full.valid());
    EXPECT_EQ(writeAll(full.get(), "scans"), 0u);

    const FileDescriptor file(::open(path("data.bin").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    ASSERT_EQ(writeAll(file.get(), "header"), 6u);
    EXPECT_EQ(writeAll(file.get(), "HEAD", 0), 4u);
    EXPECT_EQ(writeAll(file.get(), "!", 10), 1u);
    EXPECT_EQ(contentOf(path("data.bin")), std::string("HEADer\0\0\0\0!", 11));
}

TEST_F(FileHelpers, ALockHeldElsewhereIsRefusedAtOnceAndFreedWithItsHolder) {
    std::ofstream(path("data.csv")) << "x";
    FileDescriptor writer(::open(path("data.csv").c_str(), O_RDWR | O_CLOEXEC));
    const FileDescriptor other(::open(path("data.csv").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(tryLock(writer.get(), FileLock::Exclusive));
    EXPECT_FALSE(tryLock(other.get(), FileLock::Shared));
    EXPECT_FALSE(tryLock(other.get(), FileLock::Exclusive));
    EXPECT_TRUE(writer.close());
    EXPECT_TRUE(tryLock(other.get(), FileLock::Shared));
}

} // namespace
} // namespace korvel

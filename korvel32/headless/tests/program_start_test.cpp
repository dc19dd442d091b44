// korvel32 started where there is no display, as from a remote shell or a
// service: it explains itself instead of failing inside the window system.
#include <temp_dir.h>
#include <wait_for.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kExitBoundMs = 30000;

struct ProgramRun {
    int status = -1; // -1: killed, or ended by a signal
    std::string out;
    std::string err;
};

std::string fileText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ProgramStart : public ::testing::Test {
protected:
    // Runs korvel32 in an environment with no display and nothing else of the
    // caller's but PATH and the given variables.
    ProgramRun run(std::vector<std::string> arguments, const std::vector<std::string> &variables = {}) const {
        arguments.insert(arguments.begin(), KORVEL32_PATH);
        std::vector<std::string> environment{"PATH=/usr/bin:/bin", "KORVEL32_HOME=" + home.path(),
                                             "XDG_RUNTIME_DIR=" + home.path()};
        environment.insert(environment.end(), variables.begin(), variables.end());
        const std::string outPath = home.path() + "/out.txt";
        const std::string errPath = home.path() + "/err.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, KORVEL32_PATH, &actions, nullptr, pointers(arguments).data(),
                                        pointers(environment).data());
        posix_spawn_file_actions_destroy(&actions);
        ProgramRun result;
        if (spawned != 0) return result;
        int status = 0;
        if (!kvtest::waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, kExitBoundMs)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        } else if (WIFEXITED(status)) {
            result.status = WEXITSTATUS(status);
        }
        result.out = fileText(outPath);
        result.err = fileText(errPath);
        return result;
    }

    static std::vector<char *> pointers(std::vector<std::string> &texts) {
        std::vector<char *> list;
        for (std::string &text : texts) list.push_back(text.data());
        list.push_back(nullptr);
        return list;
    }

    kvtest::TempDir home;
};

TEST_F(ProgramStart, HelpAndVersionNeedNoDisplay) {
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: korvel32 [SETUP] [/G] [/S] [/C] [/X]"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("usage: korvel32 --headless [SETUP]"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("korvel32 (Korvel Logger) 3.01\n"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");

    const ProgramRun version = run({"--version"}, {"QT_QPA_PLATFORM=xcb"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "korvel32 (Korvel Logger) 3.01\n");
    EXPECT_EQ(version.err, "");
}

TEST_F(ProgramStart, TheWindowedLoggerWithoutADisplaySaysHowToLogWithoutOne) {
    for (const auto &variables : {std::vector<std::string>{}, std::vector<std::string>{"QT_QPA_PLATFORM=xcb"},
                                  std::vector<std::string>{"WAYLAND_DISPLAY=", "DISPLAY="}}) {
        const ProgramRun windowed = run({"plant.stp", "/G"}, variables);
        EXPECT_EQ(windowed.status, 2);
        EXPECT_EQ(windowed.out, "");
        EXPECT_EQ(std::count(windowed.err.begin(), windowed.err.end(), '\n'), 1) << windowed.err;
        EXPECT_NE(windowed.err.find("korvel32 --headless"), std::string::npos) << windowed.err;
    }
}

} // namespace

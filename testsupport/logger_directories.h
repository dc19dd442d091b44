// Points a logger started by a test at the test's directories for everything
// it finds by the environment: ccf.cfg, its settings and its local sockets,
// the windowed logger's single-instance one under the temporary directory, so
// that it meets neither the machine's files nor another logger's service.
// The variables are restored when the object goes.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

namespace kvtest {

class LoggerDirectories {
public:
    explicit LoggerDirectories(const std::string &directory) : LoggerDirectories(directory, directory) {}
    // ccf.cfg in a directory of its own, everything else in home.
    LoggerDirectories(const std::string &ccfDirectory, const std::string &home) {
        set(0, ccfDirectory);
        for (std::size_t i = 1; i < std::size(kNames); ++i) set(i, home);
    }
    ~LoggerDirectories() {
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            if (previous_[i]) {
                ::setenv(kNames[i], previous_[i]->c_str(), 1);
            } else {
                ::unsetenv(kNames[i]);
            }
        }
    }
    LoggerDirectories(const LoggerDirectories &) = delete;
    LoggerDirectories &operator=(const LoggerDirectories &) = delete;

private:
    void set(std::size_t i, const std::string &directory) {
        if (const char *value = std::getenv(kNames[i])) previous_[i] = value;
        ::setenv(kNames[i], directory.c_str(), 1);
    }

    static constexpr const char *kNames[] = {"KVLINK32_CCF_DIR", "KORVEL32_HOME", "XDG_RUNTIME_DIR", "TMPDIR"};
    std::optional<std::string> previous_[std::size(kNames)];
};

} // namespace kvtest

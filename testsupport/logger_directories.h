// Points a logger started by a test at one directory for everything it
// finds by the environment: ccf.cfg, its settings and its local sockets, so
// that it meets neither the machine's files nor another logger's service.
// The variables are removed again when the object goes.
#pragma once

#include <cstdlib>
#include <string>

namespace kvtest {

class LoggerDirectories {
public:
    explicit LoggerDirectories(const std::string &directory) {
        for (const char *name : kNames) ::setenv(name, directory.c_str(), 1);
    }
    ~LoggerDirectories() {
        for (const char *name : kNames) ::unsetenv(name);
    }
    LoggerDirectories(const LoggerDirectories &) = delete;
    LoggerDirectories &operator=(const LoggerDirectories &) = delete;

private:
    static constexpr const char *kNames[] = {"KVLINK32_CCF_DIR", "KORVEL32_HOME", "XDG_RUNTIME_DIR"};
};

} // namespace kvtest

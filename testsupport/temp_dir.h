// A fresh temporary directory for one test, removed with everything in it.
#pragma once

#include <string>

namespace kvtest {

class TempDir {
public:
    TempDir(); // throws std::runtime_error if it cannot be made
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return path_; }

private:
    std::string path_;
};

} // namespace kvtest

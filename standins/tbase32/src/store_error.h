// The one way the historian's inner parts report a failure: an error number
// of tbase32.h with a text naming what failed. The exported functions turn
// it into their -1 or NULL and the thread's last error.
#pragma once

#include <stdexcept>
#include <string>

namespace tbase {

class StoreError : public std::runtime_error {
public:
    StoreError(int number, const std::string &text) : std::runtime_error(text), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

[[noreturn]] inline void fail(int number, const std::string &text) { throw StoreError(number, text); }

// The text of errno for a file operation on path, e.g. "Cannot create /x/a.KEY: Permission denied".
std::string fileErrorText(const std::string &what, const std::string &path, int error);

} // namespace tbase

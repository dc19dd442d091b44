#include "datafiles/rollover_numbers.h"

#include "platform/ascii_digits.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace korvel {
namespace {

namespace fs = std::filesystem;

// The path up to and without the extension's dot; the whole path when the
// file name has no extension.
std::string pathWithoutExtension(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension ? path.substr(0, dot) : path;
}

} // namespace

std::string numberedPath(const std::string &dataFilePath, int number) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, ".%03u", static_cast<unsigned>(number));
    return pathWithoutExtension(dataFilePath) + suffix;
}

void RolloverNumbers::rebuild(const std::string &dataFilePath) {
    used_.reset();
    last_ = -1;
    const fs::path stem = pathWithoutExtension(dataFilePath);
    const std::string prefix = stem.filename().string() + ".";
    fs::path directory = stem.parent_path();
    if (directory.empty()) directory = ".";
    std::error_code error;
    for (fs::directory_iterator entry(directory, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() < prefix.size() + 3 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string last3 = name.substr(name.size() - 3);
        if (isDigit(last3[0]) && isDigit(last3[1]) && isDigit(last3[2])) {
            const int number = std::stoi(last3);
            if (number >= 1) used_.set(static_cast<std::size_t>(number));
        }
    }
}

std::optional<std::string> RolloverNumbers::claim(const std::string &dataFilePath) {
    const int start = last_ < 0 ? 1 : last_ + 1;
    for (int step = 0; step < kMostRolloverNumbers; ++step) {
        const int number = (start - 1 + step) % kMostRolloverNumbers + 1;
        if (used_.test(static_cast<std::size_t>(number))) continue;
        std::string candidate = numberedPath(dataFilePath, number);
        std::error_code error;
        if (fs::exists(candidate, error) || error) continue;
        used_.set(static_cast<std::size_t>(number));
        last_ = number;
        return candidate;
    }
    return std::nullopt;
}

} // namespace korvel

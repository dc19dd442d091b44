#include "shell/recent_file_list.h"

#include <string>
#include <utility>

#include "platform/ini_profile.h"

namespace korvel {
namespace {

constexpr char kSection[] = "Recent File List";
constexpr std::size_t kPathBufferSize = 4096;

std::string entryKey(std::size_t index) { return "File" + std::to_string(index + 1); }

} // namespace

RecentFileList::RecentFileList(std::string iniPath) : iniPath_(std::move(iniPath)) {}

void RecentFileList::load() {
    entries_.clear();
    for (std::size_t index = 0; index < kMaxEntries; ++index) {
        std::string path = readProfileString(iniPath_, kSection, entryKey(index), "", kPathBufferSize);
        if (!path.empty()) entries_.push_back(std::move(path));
    }
}

void RecentFileList::add(const std::string &path) {
    if (path.empty()) return;
    std::erase(entries_, path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
    save();
}

void RecentFileList::remove(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
    entries_.erase(entries_.begin() + index);
    save();
}

// Every key is written, the unused ones empty, so no stale entry survives.
void RecentFileList::save() const {
    for (std::size_t index = 0; index < kMaxEntries; ++index)
        writeProfileString(iniPath_, kSection, entryKey(index), index < entries_.size() ? entries_[index] : "");
}

} // namespace korvel

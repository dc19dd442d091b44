// The recent-file list of the Setup menu: the last 4 setup files, most recent
// first, kept in korvmru.ini in the program directory.
#pragma once

#include "app/command_ids.h"

#include <cstddef>
#include <string>
#include <vector>

namespace korvel {

class RecentFileList {
public:
    // One menu command per entry.
    static constexpr std::size_t kMaxEntries = command::kRecentFiles;

    explicit RecentFileList(std::string iniPath);

    // Reads the list from the file; a missing file gives an empty list.
    void load();
    // Puts path at the front (moving it there when it is already listed),
    // drops the oldest beyond kMaxEntries, and writes the list.
    void add(const std::string &path);
    // Drops entry index (0 = most recent), as when its file cannot be opened,
    // and writes the list.
    void remove(int index);

    const std::vector<std::string> &entries() const { return entries_; }

private:
    void save() const;

    std::string iniPath_;
    std::vector<std::string> entries_;
};

} // namespace korvel

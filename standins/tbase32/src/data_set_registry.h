// infolink.ini, the registry of data set names and the directories that hold
// them, in section [Data Sets] as "name=directory". It lies in the directory
// named by TBASE32_INFOLINK_DIR, else beside the code of the historian.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tbase {

class Registry {
public:
    explicit Registry(std::string infolinkPath);
    // The registry where TBASE32_INFOLINK_DIR or the historian's own location puts it.
    static Registry located();

    const std::string &path() const { return path_; }
    // Makes infolink.ini with [TL Settings] "TLLocal Path" when it is missing.
    void create() const;

    // The name as registered (names match without regard to case) and its directory.
    struct Entry {
        std::string name;
        std::string directory;
    };
    std::optional<Entry> find(std::string_view name) const;
    // find() or TBASE_E_DATA_SET_UNKNOWN.
    Entry entry(std::string_view name) const;
    std::vector<std::string> names() const;

    void add(const std::string &name, const std::string &directory) const;
    void remove(const std::string &name) const;

private:
    std::string path_;
};

} // namespace tbase

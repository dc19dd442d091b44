// A text setup file held in memory, looked up with the private-profile
// rules: section and key names without regard to case, the first section and
// key of a name win, values cut as a 256-character buffer holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class ProfileSections {
public:
    explicit ProfileSections(std::string_view content);

    // True when the section exists and holds at least one key.
    bool hasKeys(std::string_view section) const;
    // The key's value, or empty when the section or key is missing.
    std::string value(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string_view key;
        std::string_view value;
    };
    struct Section {
        std::string_view name;
        std::vector<Entry> entries;
    };

    const Section *find(std::string_view section) const;

    std::vector<Section> sections_;
};

// Equal without regard to ASCII case.
bool sameWord(std::string_view a, std::string_view b);

} // namespace korvel

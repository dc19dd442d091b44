#include "setup/profile_sections.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr std::size_t kValueBuffer = 256;

std::string_view withoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

char lowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerCase(x) == lowerCase(y); });
}

ProfileSections::ProfileSections(std::string_view content) {
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = withoutBlanks(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            line.remove_prefix(1);
            sections_.push_back({withoutBlanks(line.substr(0, line.find(']'))), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections_.empty()) continue;
        sections_.back().entries.push_back(
            {withoutBlanks(line.substr(0, equals)), withoutBlanks(line.substr(equals + 1))});
    }
}

const ProfileSections::Section *ProfileSections::find(std::string_view section) const {
    const auto found = std::find_if(sections_.begin(), sections_.end(),
                                    [&](const Section &candidate) { return sameWord(candidate.name, section); });
    return found == sections_.end() ? nullptr : &*found;
}

bool ProfileSections::hasKeys(std::string_view section) const {
    const Section *found = find(section);
    return found != nullptr && !found->entries.empty();
}

std::string ProfileSections::value(std::string_view section, std::string_view key) const {
    const Section *found = find(section);
    if (found == nullptr) return {};
    for (const Entry &entry : found->entries) {
        if (!sameWord(entry.key, key)) continue;
        // A value is a C text: it ends at a zero byte.
        const std::string_view value = withoutQuotes(entry.value);
        return std::string(value.substr(0, std::min(value.find('\0'), kValueBuffer - 1)));
    }
    return {};
}

} // namespace korvel

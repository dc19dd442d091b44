#include "platform/ini_profile.h"

#include "platform/atomic_replace.h"
#include "platform/text_case.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace korvel {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The section name of a "[name]" line; none for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return trimmed(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// The key and value of a "key=value" line; none for comments and other lines.
std::optional<KeyLine> keyLine(std::string_view line) {
    const std::string_view text = trimmed(line);
    const std::size_t equals = text.find('=');
    if (text.empty() || text.front() == ';' || equals == std::string_view::npos) return std::nullopt;
    return KeyLine{trimmed(text.substr(0, equals)), trimmed(text.substr(equals + 1))};
}

// Up to kProfileSizeLimit + 1 bytes of the file (one more than the limit shows
// that it is too large); none when it cannot be opened.
std::optional<std::string> readCapped(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content(kProfileSizeLimit + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    }
    return lines;
}

struct Lookup {
    std::optional<std::size_t> sectionLine; // the "[section]" line
    std::optional<std::size_t> keyLine;     // the key's line within it
    std::size_t lastEntry = 0;              // last non-blank line of the section
};

Lookup find(const std::vector<std::string_view> &lines, std::string_view section, std::string_view key) {
    Lookup found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (found.sectionLine) break; // only the first section of that name counts
            if (sameIgnoringCase(*name, section)) found.sectionLine = found.lastEntry = i;
            continue;
        }
        if (!found.sectionLine) continue;
        if (!trimmed(lines[i]).empty()) found.lastEntry = i;
        const auto entry = keyLine(lines[i]);
        if (entry && sameIgnoringCase(entry->key, key)) {
            found.keyLine = i;
            break;
        }
    }
    return found;
}

std::optional<std::string> lookUp(const std::string &path, std::string_view section, std::string_view key) {
    const auto content = readCapped(path);
    if (!content) return std::nullopt;
    const auto lines = splitLines(std::string_view(*content).substr(0, kProfileSizeLimit));
    const Lookup found = find(lines, section, key);
    if (!found.keyLine) return std::nullopt;
    std::string_view value = keyLine(lines[*found.keyLine])->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

bool isReadOnly(const std::string &path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Reads the file's lines, lets edit change them and writes the file anew.
// False when the file is read-only, too large or cannot be written.
bool rewrite(const std::string &path, const std::function<void(std::vector<std::string_view> &)> &edit) {
    if (isReadOnly(path)) return false;
    const std::string content = readCapped(path).value_or(std::string());
    if (content.size() > kProfileSizeLimit) return false;
    std::vector<std::string_view> lines = splitLines(content);
    edit(lines);
    std::string text;
    text.reserve(content.size() + 256);
    for (const std::string_view line : lines) text.append(line).append("\r\n");
    return replaceFile(path, text);
}

} // namespace

std::string readProfileString(const std::string &path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize) {
    std::string value = lookUp(path, section, key).value_or(std::string(defaultValue));
    value.resize(std::min(value.size(), bufferSize == 0 ? 0 : bufferSize - 1));
    return value;
}

int readProfileInt(const std::string &path, std::string_view section, std::string_view key, int defaultValue) {
    const auto text = lookUp(path, section, key);
    if (!text) return defaultValue;
    const char *first = text->data();
    const char *last = first + text->size();
    if (first != last && *first == '+') ++first;
    long long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) return (first != last && *first == '-') ? INT_MIN : INT_MAX;
    if (end == first) return 0;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool writeProfileString(const std::string &path, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    const std::string header = "[" + std::string(section) + "]";
    return rewrite(path, [&](std::vector<std::string_view> &lines) {
        const Lookup found = find(lines, section, key);
        if (found.keyLine)
            lines[*found.keyLine] = entry;
        else if (found.sectionLine)
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(found.lastEntry) + 1, entry);
        else {
            lines.push_back(header);
            lines.push_back(entry);
        }
    });
}

std::vector<std::string> readProfileKeys(const std::string &path, std::string_view section) {
    std::vector<std::string> keys;
    const auto content = readCapped(path);
    if (!content) return keys;
    bool inSection = false;
    for (const std::string_view line : splitLines(std::string_view(*content).substr(0, kProfileSizeLimit))) {
        if (const auto name = sectionName(line)) {
            if (inSection) break; // only the first section of that name counts
            inSection = sameIgnoringCase(*name, section);
            continue;
        }
        const auto entry = inSection ? keyLine(line) : std::nullopt;
        if (!entry) continue;
        const bool known = std::any_of(keys.begin(), keys.end(),
                                       [&](const std::string &key) { return sameIgnoringCase(key, entry->key); });
        if (!known) keys.emplace_back(entry->key);
    }
    return keys;
}

bool deleteProfileKey(const std::string &path, std::string_view section, std::string_view key) {
    if (!lookUp(path, section, key)) return true;
    return rewrite(path, [&](std::vector<std::string_view> &lines) {
        if (const auto keyLine = find(lines, section, key).keyLine)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*keyLine));
    });
}

} // namespace korvel

#include "name_rules.h"

#include <algorithm>
#include <cstring>

#include "store_error.h"
#include "tbase32.h"

namespace tbase {
namespace {

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void refuse(std::string_view what, std::string_view name, std::string_view rule) {
    fail(TBASE_E_ARGUMENT, std::string(what) + " \"" + std::string(name) + "\" " + std::string(rule));
}

std::string_view checkedName(const char *name, std::size_t longest, std::string_view what) {
    if (!name || !*name) fail(TBASE_E_ARGUMENT, std::string(what) + " is missing");
    const std::string_view text(name);
    if (text.size() > longest) refuse(what, text, "is longer than " + std::to_string(longest) + " characters");
    if (std::any_of(text.begin(), text.end(), isControl)) refuse(what, text, "holds a control character");
    if (isBlank(text.front()) || isBlank(text.back())) refuse(what, text, "begins or ends with a blank");
    return text;
}

} // namespace

void checkDataSetName(const char *name) {
    const std::string_view text = checkedName(name, TBASE_MAX_NAME, "Data set name");
    if (text.find_first_of("/\\=") != std::string_view::npos) refuse("Data set name", text, "holds / \\ or =");
    if (text.front() == ';' || text.front() == '[') refuse("Data set name", text, "begins with ; or [");
}

void checkTagName(const char *name) {
    const std::string_view text = checkedName(name, TBASE_MAX_TAG_NAME, "Tag name");
    if (text.find(':') != std::string_view::npos) refuse("Tag name", text, "holds a colon");
}

void checkBatchName(const char *name) { checkedName(name, TBASE_MAX_NAME, "Batch name"); }

void checkDirectory(const char *directory) {
    const std::string_view text = checkedName(directory, 4095, "Data set directory");
    if (text.front() != '/') refuse("Data set directory", text, "is not an absolute path");
}

std::string checkedText(const char *text, std::size_t longest, std::string_view what) {
    if (!text) return {};
    const std::string_view value(text);
    if (value.size() > longest) refuse(what, value, "is longer than " + std::to_string(longest) + " characters");
    if (std::any_of(value.begin(), value.end(), isControl)) refuse(what, value, "holds a control character");
    return std::string(value);
}

} // namespace tbase

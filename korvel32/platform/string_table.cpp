#include "platform/string_table.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace korvel {
namespace {

struct ResourceText {
    int id;
    const char *text;
};

constexpr ResourceText kBuiltInTexts[] = {
#include "resources/string_table.inc"
};

static_assert(std::is_sorted(std::begin(kBuiltInTexts), std::end(kBuiltInTexts),
                             [](const ResourceText &a, const ResourceText &b) { return a.id < b.id; }),
              "the string table must stay in ascending order of number");

} // namespace

std::string resourceString(int id) {
    const auto *found = std::lower_bound(std::begin(kBuiltInTexts), std::end(kBuiltInTexts), id,
                                         [](const ResourceText &entry, int wanted) { return entry.id < wanted; });
    if (found == std::end(kBuiltInTexts) || found->id != id) return {};
    return found->text;
}

std::string instrumentMessage(int id, unsigned bcn) {
    std::string text = resourceString(id);
    const std::size_t placeholder = text.find("%02u");
    if (placeholder != std::string::npos) {
        char number[16];
        std::snprintf(number, sizeof number, "%02u", bcn);
        text.replace(placeholder, 4, number);
    }
    return text;
}

std::string messageNaming(int id, const std::string &text) {
    std::string message = resourceString(id);
    const std::size_t placeholder = message.find("%s");
    if (placeholder != std::string::npos) message.replace(placeholder, 2, text);
    return message;
}

} // namespace korvel

#include "app/live_value_names.h"

#include "platform/text_case.h"

#include <array>

namespace korvel {
namespace {

constexpr std::array<std::string_view, 3> kSystemItems{"Topics", "SysItems", "Formats"};
constexpr std::array<std::string_view, live_item::kFirstChannel> kNamedItems{"ELDATETIME", "ALARM1", "ALARM2", "DIO",
                                                                             "TOTALIZER"};
constexpr int kLastBcn = 99;
constexpr int kLastChannel = 30;
constexpr std::size_t kTopicLength = 5;

// Only digits, and a value within 1..last however many zeros lead.
std::optional<int> parseNumber(std::string_view digits, int last) {
    if (digits.empty()) return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > last) return std::nullopt;
    }
    if (value < 1) return std::nullopt;
    return value;
}

template <std::size_t N>
std::optional<int> indexOf(const std::array<std::string_view, N> &names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (sameIgnoringCase(names[i], name)) return static_cast<int>(i);
    }
    return std::nullopt;
}

} // namespace

std::optional<LiveTopic> parseLiveTopic(std::string_view name) {
    if (sameIgnoringCase(name, "System")) return kSystemTopic;
    if (name.size() != kTopicLength || !sameIgnoringCase(name.substr(0, 3), "bcn")) return std::nullopt;
    return parseNumber(name.substr(3), kLastBcn);
}

std::optional<LiveItem> parseLiveItem(LiveTopic topic, std::string_view name) {
    if (topic == kSystemTopic) return indexOf(kSystemItems, name);
    if (const auto named = indexOf(kNamedItems, name)) return named;
    if (name.size() < 2 || asciiLower(name[0]) != 'c') return std::nullopt;
    const auto channel = parseNumber(name.substr(1), kLastChannel);
    if (!channel) return std::nullopt;
    return live_item::kFirstChannel + *channel - 1;
}

std::string liveTopicName(LiveTopic topic) {
    if (topic == kSystemTopic) return "System";
    return "BCN" + std::string(1, static_cast<char>('0' + topic / 10)) + static_cast<char>('0' + topic % 10);
}

std::string liveItemName(LiveTopic topic, LiveItem item) {
    if (topic == kSystemTopic) return std::string(kSystemItems.at(static_cast<std::size_t>(item)));
    if (item < live_item::kFirstChannel) return std::string(kNamedItems.at(static_cast<std::size_t>(item)));
    return "c" + std::to_string(item - live_item::kFirstChannel + 1);
}

bool isTextFormat(std::string_view format) {
    return sameIgnoringCase(format, "TEXT") || format == "1" || format == "0";
}

} // namespace korvel

// The topics and items of the live-values service and which of them a client
// may name: the topic "System" with its three items, and one topic
// "BCN%02u" per instrument with its date, alarm, digital I/O, totalizer and
// channel items. Names are compared without regard to case, as the service's
// clients have always been able to rely on.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// A topic by number: 0 is "System", 1..99 the instrument of that BCN.
using LiveTopic = int;
inline constexpr LiveTopic kSystemTopic = 0;
inline constexpr int kLiveTopics = 100;

// An item by number within its topic. System: 0 Topics, 1 SysItems,
// 2 Formats. An instrument: the five named items, then c1..c30.
using LiveItem = int;
namespace live_item {
inline constexpr LiveItem kTopics = 0;
inline constexpr LiveItem kSysItems = 1;
inline constexpr LiveItem kFormats = 2;

inline constexpr LiveItem kDateTime = 0;
inline constexpr LiveItem kAlarm1 = 1;
inline constexpr LiveItem kAlarm2 = 2;
inline constexpr LiveItem kDio = 3;
inline constexpr LiveItem kTotalizer = 4;
inline constexpr LiveItem kFirstChannel = 5; // c1; channel n is kFirstChannel + n - 1
} // namespace live_item
inline constexpr int kLiveItemsPerInstrument = live_item::kFirstChannel + 30;

// The topic a client connects to: "System", or exactly five characters,
// "bcn" in any case and two digits 01..99. No instrument of that BCN need
// be in the setup.
std::optional<LiveTopic> parseLiveTopic(std::string_view name);

// An item of the topic: for System one of its three items; for an
// instrument one of the five named items, or "c" in any case followed by
// the channel number 1..30 in digits (leading zeros allowed).
std::optional<LiveItem> parseLiveItem(LiveTopic topic, std::string_view name);

// The standard spelling in which the service names topics and items.
std::string liveTopicName(LiveTopic topic);
std::string liveItemName(LiveTopic topic, LiveItem item);

// The clipboard format a client names, when it names one: the text format
// ("TEXT" or its number 1) and 0, which names none, are the ones served.
bool isTextFormat(std::string_view format);

} // namespace korvel

// Which topics and items the live-values service takes, and how it names
// them back: the rules that decide between a value and a refusal.
#include "app/live_value_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korvel {
namespace {

TEST(LiveValueNames, TopicsAreSystemOrFiveCharactersNamingABcn) {
    const struct {
        const char *name;
        std::optional<LiveTopic> topic;
    } cases[] = {
        {"System", kSystemTopic},
        {"SYSTEM", kSystemTopic},
        {"BCN07", 7},
        {"bcn07", 7},
        {"Bcn99", 99},
        {"BCN01", 1},
        {"BCN7", std::nullopt},
        {"BCN100", std::nullopt},
        {"BCN00", std::nullopt},
        {"BCN7 ", std::nullopt},
        {"BCN+7", std::nullopt},
        {"BCNx7", std::nullopt},
        {"ABC07", std::nullopt},
        {"", std::nullopt},
        {"Systems", std::nullopt},
    };
    for (const auto &c : cases) EXPECT_EQ(parseLiveTopic(c.name), c.topic) << '"' << c.name << '"';
}

TEST(LiveValueNames, ItemsDependOnTheTopic) {
    const struct {
        LiveTopic topic;
        const char *name;
        std::optional<LiveItem> item;
    } cases[] = {
        {kSystemTopic, "Topics", live_item::kTopics},
        {kSystemTopic, "sysitems", live_item::kSysItems},
        {kSystemTopic, "Formats", live_item::kFormats},
        {kSystemTopic, "ELDATETIME", std::nullopt},
        {kSystemTopic, "c1", std::nullopt},
        {7, "ELDATETIME", live_item::kDateTime},
        {7, "alarm2", live_item::kAlarm2},
        {7, "TOTALIZER", live_item::kTotalizer},
        {7, "Topics", std::nullopt},
        {7, "C05", live_item::kFirstChannel + 4},
        {7, "c5", live_item::kFirstChannel + 4},
        {7, "c0005", live_item::kFirstChannel + 4},
        {7, "c30", live_item::kFirstChannel + 29},
        {7, "c1", live_item::kFirstChannel},
        {7, "c31", std::nullopt},
        {7, "c0", std::nullopt},
        {7, "c", std::nullopt},
        {7, "c5x", std::nullopt},
        {7, "c-5", std::nullopt},
        {7, "d5", std::nullopt},
        {7, "c99999999999999999999", std::nullopt},
    };
    for (const auto &c : cases) EXPECT_EQ(parseLiveItem(c.topic, c.name), c.item) << c.topic << ' ' << c.name;
}

TEST(LiveValueNames, EveryItemIsNamedBackInTheSpellingThatParsesToIt) {
    for (LiveItem item = 0; item < kLiveItemsPerInstrument; ++item)
        EXPECT_EQ(parseLiveItem(42, liveItemName(42, item)), item) << liveItemName(42, item);
    for (LiveItem item = 0; item < 3; ++item) EXPECT_EQ(parseLiveItem(kSystemTopic, liveItemName(0, item)), item);
    for (LiveTopic topic = 0; topic < kLiveTopics; ++topic) EXPECT_EQ(parseLiveTopic(liveTopicName(topic)), topic);
    EXPECT_EQ(liveTopicName(7), "BCN07");
    EXPECT_EQ(liveItemName(7, live_item::kFirstChannel + 4), "c5");
}

TEST(LiveValueNames, OnlyTheTextFormatIsServed) {
    for (const char *format : {"TEXT", "text", "1", "0"}) EXPECT_TRUE(isTextFormat(format)) << format;
    for (const char *format : {"2", "CF_TEXT", "BITMAP", "", "01"}) EXPECT_FALSE(isTextFormat(format)) << format;
}

} // namespace
} // namespace korvel

// Tags: adding and describing them, walking them, and the update order that
// TBaseUpdateAllTags follows.
#include <cmath>

#include "historian_fixture.h"

namespace tbase {
namespace {

using TagTest = HistorianTest;

std::vector<std::string> tagNames(TBaseDataSet dataSet) {
    std::vector<std::string> names;
    char name[TBASE_MAX_TAG_NAME + 1];
    for (int found = TBaseGetFirstTagName(dataSet, name, sizeof name); found == 1;
         found = TBaseGetNextTagName(dataSet, name, sizeof name))
        names.emplace_back(name);
    return names;
}

TEST_F(TagTest, TagsAreKeptInTheOrderAddedAndFoundWithoutCase) {
    TBaseDataSet dataSet = openNew("tags");
    for (const char *name : {"0105", "0101", "01DIO"})
        ASSERT_NE(TBaseAddTag(dataSet, name, "Oven", "degC", TBASE_NO_LIMIT, -TBASE_NO_LIMIT, 0.5), nullptr);
    EXPECT_EQ(TBaseGetTagCount(dataSet), 3);
    EXPECT_EQ(tagNames(dataSet), (std::vector<std::string>{"0105", "0101", "01DIO"}));
    char name[8];
    EXPECT_EQ(TBaseGetNextTagName(dataSet, name, sizeof name), 0); // the walk is over
    EXPECT_EQ(TBaseGetFirstTagName(dataSet, name, 3), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_BUFFER_TOO_SMALL);

    // Adding a known tag again describes it anew: still three tags, as first spelled.
    TBaseTag again = TBaseAddTag(dataSet, "01dio", "Digital I/O", "", 0, 0, 0);
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(TBaseOpenTag(dataSet, "01Dio"), again);
    EXPECT_EQ(TBaseCloseTag(again), 0);
    EXPECT_EQ(TBaseGetTagCount(dataSet), 3);
    EXPECT_EQ(TBaseOpenTag(dataSet, "0199"), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_TAG_UNKNOWN);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);

    dataSet = TBaseOpenDataSet("tags", "");
    EXPECT_EQ(tagNames(dataSet), (std::vector<std::string>{"0105", "0101", "01DIO"}));
    // Reopened tags are known but take no values until they are enabled (or added again).
    EXPECT_EQ(TBaseGetNumUpdateTags(dataSet), 0);
    EXPECT_NE(TBaseAddTag(dataSet, "0101", "Oven", "degC", 100, 0, 0), nullptr);
    EXPECT_EQ(TBaseGetNumUpdateTags(dataSet), 1);
    EXPECT_EQ(TBaseGetTagCount(dataSet), 3);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

TEST_F(TagTest, BadTagArgumentsAreRefused) {
    TBaseDataSet dataSet = openNew("bad");
    const std::string longName(TBASE_MAX_TAG_NAME + 1, 'n');
    for (const char *name : {"", "01:05", " 0105", "01\n05", longName.c_str()}) {
        EXPECT_EQ(TBaseAddTag(dataSet, name, "", "", 0, 0, 0), nullptr) << name;
        EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
    }
    EXPECT_EQ(TBaseAddTag(dataSet, nullptr, "", "", 0, 0, 0), nullptr);
    EXPECT_EQ(TBaseAddTag(dataSet, "0101", std::string(TBASE_MAX_DESCRIPTION + 1, 'd').c_str(), "", 0, 0, 0), nullptr);
    EXPECT_EQ(TBaseAddTag(dataSet, "0101", "", std::string(TBASE_MAX_UNITS + 1, 'u').c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(TBaseAddTag(dataSet, "0101", "", "", 0, 0, -1.0), nullptr);
    EXPECT_EQ(TBaseAddTag(dataSet, "0101", "", "", 0, 0, std::nan("")), nullptr);
    EXPECT_EQ(TBaseGetTagCount(dataSet), 0);
    EXPECT_NE(TBaseAddTag(dataSet, "0101", nullptr, nullptr, 0, 0, 0), nullptr); // no description or units
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

TEST_F(TagTest, ADataSetHoldsALimitedNumberOfTags) {
    TBaseDataSet dataSet = openNew("many");
    for (int i = 0; i < TBASE_MAX_TAGS; ++i)
        ASSERT_NE(TBaseAddTag(dataSet, std::to_string(i).c_str(), "", "", 0, 0, 0), nullptr) << lastError();
    EXPECT_EQ(TBaseAddTag(dataSet, "one more", "", "", 0, 0, 0), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_TOO_MANY_TAGS);
    EXPECT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
}

TEST_F(TagTest, EnablingBuildsTheUpdateOrderThatScansFollow) {
    TBaseDataSet dataSet = openNew("order");
    TBaseTag first = TBaseAddTag(dataSet, "0101", "", "", 0, 0, 0);
    TBaseAddTag(dataSet, "0102", "", "", 0, 0, 0);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);

    dataSet = TBaseOpenDataSet("order", "");
    // Enabled in another order than added: each scan's values follow it.
    TBaseTag second = TBaseEnableTagLogging(dataSet, "0102");
    first = TBaseEnableTagLogging(dataSet, "0101");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(TBaseEnableTagLogging(dataSet, "0102"), second); // enabled twice, still once in the order
    EXPECT_EQ(TBaseEnableTagLogging(dataSet, "0199"), nullptr);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_TAG_UNKNOWN);
    ASSERT_EQ(TBaseGetNumUpdateTags(dataSet), 2);
    const double times[] = {1000.0, 2000.0};
    const float values[] = {2.0f, 1.0f, 20.0f, 10.0f};
    ASSERT_EQ(TBaseUpdateAllTags(dataSet, 2, times, values), 0) << lastError();

    // A disabled tag leaves the order and refuses values.
    ASSERT_EQ(TBaseDisableTagLogging(second), 0);
    EXPECT_EQ(TBaseGetNumUpdateTags(dataSet), 1);
    const float firstOnly[] = {100.0f};
    const double third[] = {3000.0};
    ASSERT_EQ(TBaseUpdateAllTags(dataSet, 1, third, firstOnly), 0);
    EXPECT_EQ(TBaseUpdateTag(second, 4000.0, 1.0), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_TAG_DISABLED);
    ASSERT_EQ(TBaseDisableAllTagLogging(dataSet), 0);
    EXPECT_EQ(TBaseGetNumUpdateTags(dataSet), 0);
    EXPECT_EQ(TBaseUpdateTag(first, 4000.0, 1.0), -1);
    processAll(dataSet);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);

    EXPECT_EQ(fetchAll("order", "0101"), (Values{{1000, 1}, {2000, 10}, {3000, 100}}));
    EXPECT_EQ(fetchAll("order", "0102"), (Values{{1000, 2}, {2000, 20}}));
}

TEST_F(TagTest, ModifiedDescriptionsKeepTheTagAndItsValues) {
    TBaseDataSet dataSet = openNew("described");
    TBaseTag tag = TBaseAddTag(dataSet, "0101", "Oven", "degC", 100, 0, 0);
    ASSERT_EQ(TBaseUpdateTag(tag, 1000.0, 42.0), 0);
    processAll(dataSet);
    EXPECT_EQ(TBaseModifyTagInfo(tag, "Kiln", "degF", 300, 10, 0), 0) << lastError();
    EXPECT_EQ(TBaseModifyTagInfo(tag, "Kiln", "degF", 300, 10, -2), -1);
    EXPECT_EQ(TBaseGetLastErrorNumber(), TBASE_E_ARGUMENT);
    ASSERT_EQ(TBaseCloseDataSet(dataSet, 1), 0);
    EXPECT_EQ(fetchAll("described", "0101"), (Values{{1000, 42}}));
}

} // namespace
} // namespace tbase

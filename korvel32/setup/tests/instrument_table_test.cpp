#include "setup/instrument_table.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvel {
namespace {

class ObserverLog : public InstrumentTableObserver {
public:
    void instrumentAdded(int slot, bool) override { added.push_back(slot); }
    void instrumentDeleted(int slot, unsigned bcn) override { deleted.emplace_back(slot, bcn); }

    std::vector<int> added;
    std::vector<std::pair<int, unsigned>> deleted;
};

class InstrumentTableTest : public ::testing::Test {
protected:
    InstrumentTableTest() {
        setupTemplate.complete("Label", "VDC");
        instruments.addObserver(log);
    }

    SetupTemplate setupTemplate;
    InstrumentTable instruments{setupTemplate};
    ObserverLog log;
};

TEST_F(InstrumentTableTest, NewInstrumentStartsFromTheCompletedTemplate) {
    ASSERT_TRUE(instruments.add(4, 12, ModelCode::M200A));
    const InstrumentSlot &slot = instruments.slot(4);
    EXPECT_TRUE(slot.inUse);
    EXPECT_EQ(slot.bcn, 12);
    EXPECT_EQ(slot.model, ModelCode::M200A);
    EXPECT_EQ(slot.role, GroupRole::Async);
    const InstrumentSetup &setup = *slot.setup;
    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelSetup &channel = setup.channel(number);
        EXPECT_EQ(channel.label, "Label") << number;
        if (number <= 3) {
            EXPECT_EQ(channel.function, ChannelFunction::Vdc);
            EXPECT_EQ(channel.range, RangeCode::Vdc3V);
            EXPECT_EQ(channel.unitsLabel, "VDC");
        } else {
            EXPECT_EQ(channel, setupTemplate.offChannel) << number;
        }
    }
    EXPECT_EQ(setup.triggerType, TriggerType::Interval);
    EXPECT_EQ(setup.interval1, 1.0);
    EXPECT_EQ(setup.interval2, 0.1);
    EXPECT_EQ(setup.readingRate, ReadingRate::Slow);
    EXPECT_EQ(setup.temperatureUnits, TemperatureUnits::Celsius);
    EXPECT_EQ(setup.dataFile.format, FileFormat::Ascii);
    EXPECT_EQ(setup.dataFile.mode, FileMode::Append);
    EXPECT_FALSE(setup.dataFile.enabled);
    EXPECT_EQ(instruments.count(), 1);
    EXPECT_EQ(log.added, std::vector<int>{4});
}

TEST_F(InstrumentTableTest, TemplateCompletionCutsLongTexts) {
    SetupTemplate longTexts;
    longTexts.complete("A label that is far too long", "VDC units text");
    EXPECT_EQ(longTexts.offChannel.label, "A label that is ");
    EXPECT_EQ(longTexts.defaultSetup.channel(2).unitsLabel, "VDC units ");
}

TEST_F(InstrumentTableTest, FindsOnlyInstrumentsInUse) {
    ASSERT_TRUE(instruments.add(2, 7, ModelCode::M100A));
    ASSERT_TRUE(instruments.add(5, 9, ModelCode::M100A));
    EXPECT_EQ(instruments.find(9), 5);
    EXPECT_EQ(instruments.find(8), 0);
    EXPECT_EQ(instruments.firstFreeSlot(), 1);
    instruments.remove(5);
    EXPECT_EQ(instruments.find(9), 0);
    EXPECT_EQ(log.deleted, (std::vector<std::pair<int, unsigned>>{{5, 9}}));
}

TEST_F(InstrumentTableTest, ABusySlotOrAFullTableRefusesAndChangesNothing) {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot)
        ASSERT_TRUE(instruments.add(slot, static_cast<unsigned>(slot), ModelCode::M100A));
    EXPECT_TRUE(instruments.full());
    EXPECT_EQ(instruments.firstFreeSlot(), 0);
    EXPECT_FALSE(instruments.add(3, 50, ModelCode::M100A));
    EXPECT_EQ(instruments.slot(3).bcn, 3);
    EXPECT_EQ(instruments.count(), kInstrumentSlots);
    EXPECT_THROW(instruments.add(21, 50, ModelCode::M100A), std::out_of_range);
}

TEST_F(InstrumentTableTest, DeletingTheMasterMakesEveryInstrumentAsync) {
    ASSERT_TRUE(instruments.add(1, 1, ModelCode::M100A));
    ASSERT_TRUE(instruments.add(2, 2, ModelCode::M100A));
    ASSERT_TRUE(instruments.add(3, 3, ModelCode::M100A));
    instruments.setRole(2, GroupRole::Master);
    instruments.setRole(1, GroupRole::Slave);
    instruments.setRole(3, GroupRole::Slave);
    EXPECT_EQ(instruments.masterSlot(), 2);

    instruments.remove(3);
    EXPECT_EQ(instruments.masterSlot(), 2);
    instruments.remove(2);
    EXPECT_EQ(instruments.masterSlot(), 0);
    EXPECT_EQ(instruments.slot(1).role, GroupRole::Async);
}

TEST_F(InstrumentTableTest, RemoveAllFreesEverySlot) {
    ASSERT_TRUE(instruments.add(1, 1, ModelCode::M100A));
    ASSERT_TRUE(instruments.add(20, 99, ModelCode::M200A));
    instruments.setRole(20, GroupRole::Master);
    instruments.removeAll();
    EXPECT_EQ(instruments.count(), 0);
    EXPECT_EQ(instruments.masterSlot(), 0);
    EXPECT_EQ(instruments.slot(20).setup, nullptr);
    EXPECT_EQ(instruments.slot(20).model, ModelCode::M100A);
    EXPECT_EQ(log.deleted.size(), 2u);
}

} // namespace
} // namespace korvel

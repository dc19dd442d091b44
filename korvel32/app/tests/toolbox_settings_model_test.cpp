// The rules of the toolbox settings dialog: its rows, the scan size of the
// chosen instrument, and which sizes Apply Size takes.
#include "app/toolbox_settings_model.h"
#include "platform/string_table.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace korvel {
namespace {

class ToolboxSettingsModelTest : public ::testing::Test {
protected:
    ToolboxSettingsModelTest() {
        setupTemplate.complete("Label", "VDC"); // three channels: 40-byte scans
        // Slots out of BCN order, as a setup may hold them.
        add(1, 12, 80);
        add(2, 3, 40);
        add(3, 7, 0);
    }

    void add(int slot, unsigned bcn, std::uint32_t queue) {
        table.add(slot, bcn, ModelCode::M100A);
        table.slot(slot).setup->toolboxQueueSize = queue;
    }
    std::uint32_t queueOf(int slot) const { return table.slot(slot).setup->toolboxQueueSize; }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    std::set<unsigned> refusing; // BCNs whose queue the add-on cannot have
    std::vector<std::pair<unsigned, std::uint32_t>> asked;
    ToolboxSettingsModel model{table, [this](unsigned bcn, std::uint32_t bytes) {
                                   asked.emplace_back(bcn, bytes);
                                   return refusing.count(bcn) == 0;
                               }};
};

TEST_F(ToolboxSettingsModelTest, RowsInBcnOrderTellTheQueueAndTheScansItHolds) {
    EXPECT_EQ(model.rows(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(model.rowText(2), "03\t40\t(1 scan)");
    EXPECT_EQ(model.rowText(3), "07\t0\t(0 scans)");
    EXPECT_EQ(model.rowText(1), "12\t80\t(2 scans)");
    EXPECT_EQ(model.scanSizeText(1), "1 scan = 40 bytes");
    EXPECT_EQ(model.sizeText(1), "80");

    table.slot(1).setup->channel(4) = table.slot(1).setup->channel(1);
    EXPECT_EQ(model.scanSizeText(1), "1 scan = 44 bytes");
    EXPECT_EQ(model.rowText(1), "12\t80\t(1 scan)") << "a queue holds whole scans";
}

TEST_F(ToolboxSettingsModelTest, OnlyNoQueueOrOneOf148To65440BytesIsApplied) {
    constexpr std::uint32_t kBefore = 80;
    const std::pair<const char *, std::uint32_t> cases[] = {
        {"147", kBefore},        {"65441", kBefore}, {"0", 0},         {"148", 148},     {"65440", 65440},
        {" 148 ", 148},          {"", kBefore},      {"abc", kBefore}, {"12a", kBefore}, {"-148", kBefore},
        {"4294967444", kBefore}, // 148 more than 32 bits hold
    };
    for (const auto &[typed, stored] : cases) {
        table.slot(1).setup->toolboxQueueSize = kBefore;
        asked.clear();
        const bool accepted = stored != kBefore;
        const ToolboxSettingsModel::Applied applied = model.applySize(typed, {1});
        EXPECT_EQ(applied.message, accepted ? 0 : message::kToolboxQueueSizeRange) << '"' << typed << '"';
        EXPECT_EQ(applied.changed, accepted) << '"' << typed << '"';
        EXPECT_EQ(asked.size(), accepted ? 1u : 0u) << "the add-on is asked only for a size in range";
        EXPECT_EQ(queueOf(1), stored) << '"' << typed << '"';
    }
}

TEST_F(ToolboxSettingsModelTest, AQueueTheAddOnCannotGiveKeepsItsSizeAndIsToldAfterTheOthers) {
    refusing = {3};
    const ToolboxSettingsModel::Applied applied = model.applySize("400", {2, 3, 1});
    EXPECT_EQ(asked, (std::vector<std::pair<unsigned, std::uint32_t>>{{3, 400}, {7, 400}, {12, 400}}));
    EXPECT_EQ(applied.message, message::kToolboxQueueResizeShortage);
    EXPECT_TRUE(applied.changed);
    EXPECT_EQ(queueOf(2), 40u);
    EXPECT_EQ(queueOf(3), 400u);
    EXPECT_EQ(queueOf(1), 400u);
    EXPECT_EQ(model.rowText(1), "12\t400\t(10 scans)");
}

} // namespace
} // namespace korvel

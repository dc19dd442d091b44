// The menu, toolbar, prompts and tool tips as the command table lays them out,
// and the name Save As proposes.
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/setup_title.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace korvel {
namespace {

using namespace command;

TEST(CommandTable, EveryMenuCommandAppearsOnceWithItsTextAndPrompt) {
    std::set<int> seen;
    for (const MenuPopup &popup : menuPopups()) {
        for (const int id : popup.items) {
            if (id == kSeparator || id == kFirstRecentFile) continue;
            EXPECT_TRUE(seen.insert(id).second) << id;
            EXPECT_FALSE(commandMenuText(id).empty()) << id;
            EXPECT_FALSE(commandPrompt(id).empty()) << id;
            EXPECT_EQ(commandPrompt(id).find('\n'), std::string::npos) << id;
        }
    }
}

// Start-up removes them with the separator before them.
TEST(CommandTable, RemovableCommandsEndTheirPopupsAfterASeparator) {
    for (const int trimmed : {kCalibration, kToolbox}) {
        const auto holds = [trimmed](const MenuPopup &popup) {
            return std::find(popup.items.begin(), popup.items.end(), trimmed) != popup.items.end();
        };
        const auto popup = std::find_if(menuPopups().begin(), menuPopups().end(), holds);
        ASSERT_NE(popup, menuPopups().end()) << trimmed;
        EXPECT_EQ(popup->items.back(), trimmed);
        EXPECT_EQ(popup->items.at(popup->items.size() - 2), kSeparator);
    }
}

TEST(CommandTable, ToolbarButtonsComeInOrderWithTheirToolTips) {
    std::vector<int> buttons;
    for (const int id : toolbarButtons()) {
        if (id == kSeparator) continue;
        buttons.push_back(id);
        EXPECT_FALSE(commandToolTip(id).empty()) << id;
    }
    const std::vector<int> expected{kOpenSetup,        kSaveSetup,        kCommunicationsConfig,
                                    kCreateInstrument, kDeleteInstrument, kInstrumentConfiguration,
                                    kStartInstrument,  kStopInstrument,   kStartAll,
                                    kStopAll,          kShowTrendLink};
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(commandToolTip(kStartAll), "Start All Instruments");
    EXPECT_EQ(commandPrompt(kStartAll), "Start all instruments logging");
    EXPECT_TRUE(commandToolTip(kSaveSetupAs).empty());
}

TEST(SetupTitle, SaveAsProposesThePathOrTheNewSetupsTitle) {
    EXPECT_EQ(proposedSetupFileName(""), "Setup.stp");
    EXPECT_EQ(proposedSetupFileName("/data/plant.stp"), "/data/plant.stp");
    EXPECT_EQ(setupTitle(""), "Setup");
    EXPECT_EQ(setupTitle("/data/plant.stp"), "plant.stp");
}

} // namespace
} // namespace korvel

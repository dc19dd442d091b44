// The way back from the configuration dialogs to the setup: the working copy
// replaces the instrument's setup only while the instrument does not log,
// and every change marks the setup modified and tells the windows once.
#include "app/configuration_changes.h"
#include "app/tests/linked_setup_document.h"

#include <gtest/gtest.h>

#include <set>

namespace korvel {
namespace {

class ConfigurationChangesTest : public ::testing::Test, protected test::LinkedSetupDocument {
protected:
    ConfigurationChangesTest() {
        table.add(1, 12, ModelCode::M100A);
        table.add(2, 34, ModelCode::M200A);
        document.setModified(false);
    }

    int told(ChildWindow window, int message) const {
        int count = 0;
        for (const auto &notification : ui.notifications())
            count += notification.window == window && notification.message == message;
        return count;
    }

    std::set<int> logging;
    int selected = 1;
    std::vector<std::vector<int>> refreshes;
    ConfigurationChanges changes{table,
                                 document,
                                 ui,
                                 [this](int slot) { return logging.contains(slot); },
                                 [this] { return selected; },
                                 [this](const std::vector<int> &slots) { refreshes.push_back(slots); }};
};

TEST_F(ConfigurationChangesTest, TheAcceptedWorkingCopyReplacesTheSetupAndEveryWindowHears) {
    InstrumentSetup accepted = *table.slot(2).setup;
    accepted.interval1 = 0.5;
    accepted.channel(4).function = ChannelFunction::Vac;

    EXPECT_TRUE(changes.commit(2, accepted));
    EXPECT_EQ(*table.slot(2).setup, accepted);
    EXPECT_TRUE(document.modified());
    ASSERT_EQ(ui.notifications().size(), 1u) << "the readings window shows another instrument";
    EXPECT_EQ(ui.notifications()[0].message, quick_plot::kConfigurationChanged);
    EXPECT_EQ(ui.notifications()[0].wParam, 2);
    EXPECT_EQ(refreshes, (std::vector<std::vector<int>>{{2}}));
    EXPECT_TRUE(ui.messages().empty());

    selected = 2;
    EXPECT_TRUE(changes.commit(2, accepted));
    EXPECT_EQ(told(ChildWindow::CurrentReadings, current_readings::kRefill), 1);
}

TEST_F(ConfigurationChangesTest, AnInstrumentThatBeganLoggingKeepsItsSetup) {
    const InstrumentSetup before = *table.slot(1).setup;
    InstrumentSetup accepted = before;
    accepted.description = "changed while logging";
    logging.insert(1);

    EXPECT_FALSE(changes.commit(1, accepted));
    EXPECT_EQ(*table.slot(1).setup, before);
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"Instrument 12:  Cannot change Configuration while logging!"});
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(ui.notifications().empty());
    EXPECT_TRUE(refreshes.empty());
}

TEST_F(ConfigurationChangesTest, AChangeMadeOnTheTableMarksTheSetupAndRefreshesOnce) {
    changes.changed({1, 2});
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(told(ChildWindow::CurrentReadings, current_readings::kRefill), 1);
    EXPECT_EQ(told(ChildWindow::QuickPlot, quick_plot::kConfigurationChanged), 0)
        << "whoever changed the table tells Quick Plot";
    EXPECT_EQ(refreshes, (std::vector<std::vector<int>>{{1, 2}}));
}

} // namespace
} // namespace korvel

// The enable and check rules of the main window's commands, from the state of
// the instruments and options.
#include "app/command_ids.h"
#include "app/command_rules.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <set>

namespace korvel {
namespace {

using namespace command;

class FakeRuns : public LoggingRuns {
public:
    bool logging(int slot) const override { return logging_.count(slot) > 0; }
    bool stopping(int slot) const override { return stopping_.count(slot) > 0; }
    bool start(std::uint32_t, int) override { return true; }
    ToolboxReply stop(std::uint32_t, CommandSource) override { return ToolboxReply::Done; }
    ToolboxReply stopGroup(CommandSource) override { return ToolboxReply::Done; }

    std::set<int> logging_;
    std::set<int> stopping_;
};

constexpr int kConfigurationCommands[] = {kCreateInstrument,     kDeleteInstrument,      kGroupInstruments,
                                          kCommunicationsConfig, kInstrumentDescription, kInstrumentConfiguration,
                                          kLoadMxbFile,          kCopyChannels,          kToolbox};

class CommandRules : public ::testing::Test {
protected:
    void addInstruments(int count) {
        for (int slot = 1; slot <= count; ++slot) table.add(slot, static_cast<unsigned>(10 + slot), ModelCode::M100A);
    }
    CommandState state(int selected = 1) const { return setupCommandState(table, runs, selected, options); }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    FakeRuns runs;
    LoggerOptions options;
};

TEST_F(CommandRules, LockoutDisablesEveryConfigurationCommand) {
    addInstruments(2);
    for (const int id : kConfigurationCommands) EXPECT_TRUE(commandEnabled(id, state())) << id;
    options.configurationLockout = true;
    for (const int id : kConfigurationCommands) EXPECT_FALSE(commandEnabled(id, state())) << id;
    for (const int id : {kSaveConfigurationText, kStartAll, kStartInstrument, kOpenSetup, kSpy})
        EXPECT_TRUE(commandEnabled(id, state())) << id;
    EXPECT_EQ(commandChecked(kLockout, state()), std::optional<bool>(true));
}

TEST_F(CommandRules, OneInstrumentStartsAloneButNotWithStartAll) {
    addInstruments(1);
    EXPECT_TRUE(commandEnabled(kStartInstrument, state()));
    EXPECT_FALSE(commandEnabled(kStopInstrument, state()));
    EXPECT_FALSE(commandEnabled(kStartAll, state()));
    EXPECT_FALSE(commandEnabled(kStopAll, state()));

    runs.logging_ = {1};
    EXPECT_FALSE(commandEnabled(kStartInstrument, state()));
    EXPECT_TRUE(commandEnabled(kStopInstrument, state()));
    EXPECT_FALSE(commandEnabled(kStopAll, state()));
    runs.stopping_ = {1};
    EXPECT_FALSE(commandEnabled(kStopInstrument, state())) << "a stop is already under way";
}

TEST_F(CommandRules, ASlaveIsNeitherStartedNorStoppedAlone) {
    addInstruments(2);
    table.setRole(1, GroupRole::Master);
    table.setRole(2, GroupRole::Slave);
    EXPECT_FALSE(commandEnabled(kStartInstrument, state(2)));
    runs.logging_ = {1, 2};
    EXPECT_FALSE(commandEnabled(kStopInstrument, state(2)));
    EXPECT_TRUE(commandEnabled(kStopInstrument, state(1)));
}

TEST_F(CommandRules, StartAllAndStopAllFollowWhatLogs) {
    addInstruments(3);
    EXPECT_TRUE(commandEnabled(kStartAll, state()));
    EXPECT_FALSE(commandEnabled(kStopAll, state()));
    runs.logging_ = {2};
    EXPECT_TRUE(commandEnabled(kStartAll, state()));
    EXPECT_TRUE(commandEnabled(kStopAll, state()));
    runs.logging_ = {1, 2, 3};
    EXPECT_FALSE(commandEnabled(kStartAll, state()));
    EXPECT_FALSE(commandEnabled(kCopyChannels, state()));
}

TEST_F(CommandRules, LoggingLocksTheSetupButNotItsSaving) {
    addInstruments(2);
    runs.logging_ = {2};
    for (const int id : {kOpenSetup, kGroupInstruments, kCommunicationsConfig, kSimulate, kCalibration,
                         kFirstRecentFile, kFirstRecentFile + kRecentFiles - 1})
        EXPECT_FALSE(commandEnabled(id, state())) << id;
    for (const int id : {kSaveSetup, kSaveSetupAs, kInstrumentConfiguration, kDeleteInstrument, kCopyChannels})
        EXPECT_TRUE(commandEnabled(id, state())) << id << ": slot 1 is idle";
    EXPECT_FALSE(commandEnabled(kDeleteInstrument, state(2)));
    EXPECT_FALSE(commandEnabled(kInstrumentConfiguration, state(2)));
}

TEST_F(CommandRules, AnEmptySetupOffersOnlyWhatNeedsNoInstrument) {
    for (const int id : {kDeleteInstrument, kGroupInstruments, kInstrumentDescription, kInstrumentConfiguration,
                         kSaveConfigurationText, kSpy, kStartInstrument, kStopInstrument, kToolbox})
        EXPECT_FALSE(commandEnabled(id, state(0))) << id;
    for (const int id : {kCreateInstrument, kOpenSetup, kCommunicationsConfig, kExit, kAbout})
        EXPECT_TRUE(commandEnabled(id, state(0))) << id;
}

TEST_F(CommandRules, CheckMarksShowTheOptionsAndWindows) {
    options.resetTotalizer = false;
    options.simulateData = true;
    options.statusOnStart = false;
    options.statusOnAlarm = true;
    CommandState current = state(0);
    current.toolbarVisible = true;
    EXPECT_EQ(commandChecked(kClearTotalizer, current), std::optional<bool>(false));
    EXPECT_EQ(commandChecked(kSimulate, current), std::optional<bool>(true));
    EXPECT_EQ(commandChecked(kStatusOnStart, current), std::optional<bool>(false));
    EXPECT_EQ(commandChecked(kStatusOnAlarm, current), std::optional<bool>(true));
    EXPECT_EQ(commandChecked(kToolbar, current), std::optional<bool>(true));
    EXPECT_EQ(commandChecked(kStatusBar, current), std::optional<bool>(false));
    EXPECT_EQ(commandChecked(kStartAll, current), std::nullopt);
}

TEST_F(CommandRules, TrendLinkDirectoryOnlyWhileItsLibraryIsNotLoaded) {
    CommandState current = state(0);
    EXPECT_TRUE(commandEnabled(kTrendLinkDirectory, current));
    current.trendLinkLoaded = true;
    EXPECT_FALSE(commandEnabled(kTrendLinkDirectory, current));
}

} // namespace
} // namespace korvel

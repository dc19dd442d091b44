#include "setup_fixture.h"

#include <temp_dir.h>

#include <gtest/gtest.h>

#include <fstream>

namespace korvel {
namespace {

using test::SetupFixture;

class SetupDocTest : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return dir.path() + "/" + name; }

    kvtest::TempDir dir;
    SetupFixture fixture;
};

TEST_F(SetupDocTest, ClearRestoresTheDefaults) {
    fixture.addInstrument(5, ModelCode::M100A);
    fixture.instruments.setRole(1, GroupRole::Master);
    fixture.options.wiredGroup = false;
    fixture.options.simulateData = true;
    fixture.options.statusOnAlarm = fixture.options.statusOnStart = fixture.options.resetTotalizer = false;
    fixture.plot.samplingInterval = 60;
    fixture.doc.setModified(true);

    fixture.doc.clear();
    EXPECT_EQ(fixture.instruments.count(), 0);
    EXPECT_EQ(fixture.instruments.masterSlot(), 0);
    EXPECT_EQ(fixture.options, LoggerOptions{});
    EXPECT_EQ(fixture.plot, PlotSettings{});
    EXPECT_FALSE(fixture.doc.modified());
}

TEST_F(SetupDocTest, OpeningAnEmptyFileClearsAndMarksModified) {
    fixture.addInstrument(5, ModelCode::M100A);
    std::ofstream(path("empty.stp")).close();
    ASSERT_TRUE(fixture.doc.open(path("empty.stp")));
    EXPECT_EQ(fixture.instruments.count(), 0);
    EXPECT_TRUE(fixture.doc.modified());
    EXPECT_EQ(fixture.doc.pathName(), path("empty.stp"));
}

TEST_F(SetupDocTest, OpenFailuresLeaveTheSetupAlone) {
    fixture.addInstrument(5, ModelCode::M100A);
    EXPECT_FALSE(fixture.doc.open(path("none.stp")));
    std::ofstream(path("short.stp")) << "[KorLogger]";
    EXPECT_FALSE(fixture.doc.open(path("short.stp")));
    EXPECT_EQ(fixture.ui.messageTexts(),
              (std::vector<std::string>{"Unable to Open Setup File!", "Setup File Is Invalid!"}));

    fixture.host.logging = true;
    std::ofstream(path("empty.stp")).close();
    EXPECT_FALSE(fixture.doc.open(path("empty.stp")));
    EXPECT_EQ(fixture.ui.messageTexts().size(), 2u); // refused without a message
    EXPECT_EQ(fixture.instruments.count(), 1);
}

TEST_F(SetupDocTest, SaveBeforeCloseAsksOnlyForAModifiedSetup) {
    int saves = 0;
    const auto saveCommand = [&] {
        ++saves;
        fixture.doc.save(path("closing.stp"));
    };
    EXPECT_TRUE(fixture.doc.saveBeforeClose(saveCommand));
    EXPECT_TRUE(fixture.ui.messageTexts().empty());

    fixture.doc.setModified(true);
    fixture.ui.queueAnswer(MessageAnswer::Cancel);
    fixture.ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_FALSE(fixture.doc.saveBeforeClose(saveCommand));
    EXPECT_TRUE(fixture.doc.saveBeforeClose(saveCommand));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(fixture.ui.messageTexts().front(), "Setup has changed.  Save the changes?");

    fixture.doc.setModified(true);
    fixture.ui.queueAnswer(MessageAnswer::No);
    EXPECT_TRUE(fixture.doc.saveBeforeClose(saveCommand));
    EXPECT_FALSE(fixture.doc.modified());

    fixture.host.logging = true;
    EXPECT_FALSE(fixture.doc.saveBeforeClose(saveCommand));
}

TEST_F(SetupDocTest, FailedSaveOnCloseRefusesToClose) {
    fixture.doc.setModified(true);
    fixture.ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_FALSE(fixture.doc.saveBeforeClose([&] { fixture.doc.save(path("missing/closing.stp")); }));
    EXPECT_TRUE(fixture.doc.modified());
}

// The window title shows the setup's name and whether it has unsaved
// changes; it is right only if the host hears the last word of every step.
TEST_F(SetupDocTest, TheHostHearsTheNameAndFlagAfterEveryStep) {
    fixture.ccf[5] = ModelCode::M100A;
    std::ofstream(path("text.stp"), std::ios::binary) << "[KorLogger]\r\nSimMode=No\r\n[Korvel1]\r\nBCN=5\r\n";
    std::ofstream(path("empty.stp")).close();
    const auto heardMatches = [&](const char *step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(fixture.host.heardPath, fixture.doc.pathName());
        EXPECT_EQ(fixture.host.heardModified, fixture.doc.modified());
    };

    fixture.doc.setModified(true);
    heardMatches("a change");
    ASSERT_TRUE(fixture.doc.save(path("saved.stp")));
    heardMatches("save");
    EXPECT_FALSE(fixture.host.heardModified);
    ASSERT_TRUE(fixture.doc.open(path("text.stp")));
    heardMatches("a text setup, which stays modified");
    EXPECT_TRUE(fixture.host.heardModified);
    ASSERT_TRUE(fixture.doc.open(path("saved.stp")));
    heardMatches("a saved setup");
    EXPECT_FALSE(fixture.host.heardModified);
    ASSERT_TRUE(fixture.doc.open(path("empty.stp")));
    heardMatches("an empty file");
    fixture.ui.queueAnswer(MessageAnswer::No);
    EXPECT_TRUE(fixture.doc.saveBeforeClose([] {}));
    heardMatches("changes given up");
    fixture.doc.setModified(true);
    fixture.doc.clear();
    heardMatches("clear");
    EXPECT_EQ(fixture.host.heardPath, "");
}

} // namespace
} // namespace korvel

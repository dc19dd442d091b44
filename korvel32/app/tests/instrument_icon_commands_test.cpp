// Creating and deleting instruments against a real ccf.cfg read by the
// communications library, with the answers scripted.
#include "app/instrument_icon_commands.h"
#include "platform/regional_formats.h"
#include "setup/bcn_lookup.h"
#include "setup/plot_settings.h"
#include "setup/setup_host.h"
#include "setup/setup_template.h"

#include <ccf_file_writer.h>
#include <scripted_user_interface.h>
#include <temp_dir.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace korvel {
namespace {

using Answer = MessageAnswer;
using Lines = std::vector<AvailableInstrument>;

class FakeSelection : public InstrumentSelection {
public:
    int selectedSlot() const override { return selected; }
    void selectSlot(int slot) override { selected = slot; }

    int selected = 0;
};

class InstrumentIconCommandsTest : public ::testing::Test {
protected:
    InstrumentIconCommandsTest() {
        setupTemplate.complete("Label", "VDC");
        writeCcf({{3, "127.0.0.3", KVX_MODEL_M100A},
                  {7, "127.0.0.7", KVX_MODEL_M200A},
                  {12, "127.0.0.12", KVX_MODEL_M100A}});
        ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1);
        document.setModified(false);
    }
    void SetUp() override { ASSERT_EQ(link.libInit(true), KVX_OK); }
    void TearDown() override {
        link.libExit();
        ::unsetenv("KVLINK32_CCF_DIR");
    }

    void writeCcf(const std::vector<std::tuple<int, std::string, int>> &entries) {
        kvtest::writeCcfFile(ccfDir.path(), KVX_NET_GENERAL, 4369, entries);
    }
    void removeCcf() { std::remove((ccfDir.path() + "/ccf.cfg").c_str()); }

    void addInstruments(unsigned firstBcn, int count) {
        for (int i = 0; i < count; ++i)
            table.add(table.firstFreeSlot(), firstBcn + static_cast<unsigned>(i), ModelCode::M100A);
    }

    kvtest::TempDir ccfDir;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    SetupHost host;
    RegionalFormats regional;
    ScriptedUserInterface ui;
    InstrumentLink link;
    CSetupDoc document{SetupTarget{table, options, plot, host, bcnResolver(link)}, ui, regional};
    FakeSelection selection;
    std::set<int> logging;
    std::vector<unsigned> choice;
    Lines offered;
    int room = -1; // the limit the chooser was given; -1 while not asked
    std::function<void()> whileChoosing = [] {};
    ToolboxAddOn toolbox{table}; // not loaded: it takes no part
    InstrumentIconCommands commands{table,
                                    document,
                                    link,
                                    toolbox,
                                    ui,
                                    selection,
                                    [this](int slot) { return logging.count(slot) > 0; },
                                    [this](const Lines &available, int limit) {
                                        offered = available;
                                        room = limit;
                                        whileChoosing();
                                        return choice;
                                    }};
};

TEST_F(InstrumentIconCommandsTest, CreateAddsEachChosenInstrumentInTheLowestFreeSlot) {
    choice = {12, 3, 7};
    commands.createInstruments();
    EXPECT_EQ(offered, (Lines{{3, "03  M100A"}, {7, "07  M200A"}, {12, "12  M100A"}}));
    EXPECT_EQ(room, 20);
    EXPECT_EQ(table.slot(1).bcn, 12);
    EXPECT_EQ(table.slot(2).bcn, 3);
    EXPECT_EQ(table.slot(3).bcn, 7);
    EXPECT_EQ(table.slot(1).model, ModelCode::M100A);
    EXPECT_EQ(table.slot(3).model, ModelCode::M200A);
    EXPECT_EQ(table.slot(3).role, GroupRole::Async);
    EXPECT_EQ(selection.selected, 3) << "the last one added";
    EXPECT_TRUE(document.modified());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(InstrumentIconCommandsTest, CreateOffersOnlyWhatTheSetupLacksAndTheRoomLeft) {
    table.add(table.firstFreeSlot(), 7, ModelCode::M200A);
    addInstruments(20, 17);
    choice = {3};
    commands.createInstruments();
    EXPECT_EQ(offered, (Lines{{3, "03  M100A"}, {12, "12  M100A"}}));
    EXPECT_EQ(room, 2);
    EXPECT_EQ(table.count(), 19);
    EXPECT_EQ(table.slot(19).bcn, 3);
}

TEST_F(InstrumentIconCommandsTest, CreateRefusesATwentyFirstInstrument) {
    addInstruments(20, 20);
    choice = {3};
    commands.createInstruments();
    EXPECT_EQ(room, -1);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Maximum number of Instruments reached!"}));
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(document.modified());
}

TEST_F(InstrumentIconCommandsTest, ACancelledCreateChangesNothing) {
    commands.createInstruments();
    EXPECT_EQ(room, 20);
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(document.modified());
}

TEST_F(InstrumentIconCommandsTest, NothingIsOfferedWhenEveryBcnIsUsedOrNoneIsConfigured) {
    table.add(table.firstFreeSlot(), 3, ModelCode::M100A);
    table.add(table.firstFreeSlot(), 7, ModelCode::M200A);
    table.add(table.firstFreeSlot(), 12, ModelCode::M100A);
    commands.createInstruments();
    writeCcf({});
    commands.createInstruments();
    EXPECT_EQ(room, -1) << "no list to choose from";
    ASSERT_EQ(ui.messages().size(), 2u);
    for (const auto &message : ui.messages()) {
        EXPECT_EQ(message.text, "No instruments are available for association!");
        EXPECT_EQ(message.icon, MessageIcon::Information);
    }
}

TEST_F(InstrumentIconCommandsTest, AnUnreadableConfigurationIsReportedBeforeOrAfterTheChoice) {
    removeCcf();
    commands.createInstruments();
    EXPECT_EQ(room, -1);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Unable to open Communications Configuration File!"}));
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);

    writeCcf({{3, "127.0.0.3", KVX_MODEL_M100A}, {7, "127.0.0.7", KVX_MODEL_M200A}});
    choice = {3, 7};
    whileChoosing = [this] { removeCcf(); };
    commands.createInstruments();
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(document.modified()) << "nothing was added";
}

TEST_F(InstrumentIconCommandsTest, DeleteAsksAndRemovesTheSelectedInstrument) {
    addInstruments(6, 3);
    selection.selected = 2;
    ui.queueAnswer(Answer::No);
    commands.deleteSelected(false);
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"Instrument 07:  Configuration will be lost!  Delete anyway?"}));
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(table.count(), 3);
    EXPECT_FALSE(document.modified());

    ui.queueAnswer(Answer::Yes);
    commands.deleteSelected(false);
    EXPECT_FALSE(table.slot(2).inUse);
    EXPECT_EQ(table.count(), 2);
    EXPECT_TRUE(document.modified());
}

TEST_F(InstrumentIconCommandsTest, DeleteDoesNothingUnderLockoutOrWhileTheInstrumentLogs) {
    commands.deleteSelected(false); // no instruments
    addInstruments(6, 2);
    selection.selected = 1;
    commands.deleteSelected(true);
    logging.insert(1);
    commands.deleteSelected(false);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(table.count(), 2);
}

TEST_F(InstrumentIconCommandsTest, DeletingTheMasterWithSlavesAsksTwice) {
    addInstruments(6, 3);
    table.setRole(1, GroupRole::Master);
    table.setRole(2, GroupRole::Slave);
    table.setRole(3, GroupRole::Slave);
    selection.selected = 1;

    ui.queueAnswer(Answer::No);
    commands.deleteSelected(false);
    EXPECT_EQ(ui.messages().size(), 1u);
    ui.queueAnswer(Answer::Yes);
    ui.queueAnswer(Answer::No);
    commands.deleteSelected(false);
    ASSERT_EQ(ui.messages().size(), 3u);
    EXPECT_EQ(ui.messages()[2].text, "All Slave instruments will become Async.  Continue?");
    EXPECT_EQ(table.count(), 3);
    EXPECT_EQ(table.masterSlot(), 1);
    EXPECT_EQ(table.slot(2).role, GroupRole::Slave);
    EXPECT_FALSE(document.modified());

    ui.queueAnswer(Answer::Yes);
    ui.queueAnswer(Answer::Yes);
    commands.deleteSelected(false);
    EXPECT_EQ(ui.messages().size(), 5u);
    EXPECT_FALSE(table.slot(1).inUse);
    EXPECT_EQ(table.masterSlot(), 0);
    EXPECT_EQ(table.slot(2).role, GroupRole::Async);
    EXPECT_EQ(table.slot(3).role, GroupRole::Async);
}

TEST_F(InstrumentIconCommandsTest, DeletingAMasterWithoutSlavesAsksOnce) {
    addInstruments(6, 2);
    table.setRole(1, GroupRole::Master);
    selection.selected = 1;
    commands.deleteSelected(false);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(table.count(), 1);
}

} // namespace
} // namespace korvel

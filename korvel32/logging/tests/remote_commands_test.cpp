#include "logging/remote_commands.h"
#include "recording_runs.h"
#include "scripted_user_interface.h"
#include "setup/plot_settings.h"

#include <temp_dir.h>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <utility>

namespace korvel {
namespace {

using Reply = RecordingToolbox::Reply;
using Replies = std::vector<Reply>;

class RemoteCommandsTest : public ::testing::Test {
protected:
    RemoteCommandsTest() { bench.addInstruments(3); }

    // The toolbox posts a command and the next logging tick runs it; the reply it got.
    Reply run(RemoteCommand command, std::uint32_t argument = 0) {
        remote.receive(static_cast<std::uint32_t>(command), argument);
        remote.runPending();
        EXPECT_EQ(remote.state(), RemoteCommandState::Idle);
        return toolbox.replies.empty() ? Reply{} : toolbox.replies.back();
    }

    std::string path(const std::string &name) const { return dir.path() + "/" + name; }

    // A setup file of the instruments now in the table, named relative to the program directory.
    std::string saveSetupFile(const std::string &name) {
        EXPECT_TRUE(doc.save(path(name)));
        return name;
    }

    kvtest::TempDir dir;
    CommandBench bench;
    PlotSettings plot;
    SetupHost setupHost;
    ScriptedUserInterface &ui = bench.ui;
    RecordingWindows &windows = bench.windows;
    RecordingToolbox &toolbox = bench.toolbox;
    RegionalFormats regional;
    CSetupDoc doc{SetupTarget{bench.table, bench.options, plot, setupHost,
                              [](unsigned) {
                                  return BcnLookup{1, ModelCode::M100A};
                              }},
                  ui, regional};
    RemoteCommands remote{RemoteCommandTargets{bench.table, bench.runs, bench.commands, doc, dir.path(), '.'},
                          bench.frontEndFor(ui)};
};

TEST_F(RemoteCommandsTest, ACommandWaitsWhileUserInputIsQueued) {
    remote.receive(1, 2);
    EXPECT_EQ(remote.state(), RemoteCommandState::Pending);
    windows.inputWaiting = true;
    remote.runPending();
    EXPECT_EQ(remote.state(), RemoteCommandState::Pending);
    EXPECT_TRUE(bench.runs.calls.empty());

    windows.inputWaiting = false;
    remote.runPending();
    EXPECT_EQ(remote.state(), RemoteCommandState::Idle);
    EXPECT_EQ(bench.runs.calls, (std::vector<std::string>{"start 2 delay 0"}));
    EXPECT_EQ(toolbox.replies, (Replies{{2, ToolboxReply::Done}}));

    remote.runPending();
    EXPECT_EQ(toolbox.replies.size(), 1u) << "each command runs once";
}

TEST_F(RemoteCommandsTest, PostedCommandsAreTakenOneAtATimeWhenTheLastHasRun) {
    toolbox.posted = {{1, 2}, {1, 3}};
    windows.inputWaiting = true;
    remote.runPending();
    EXPECT_EQ(remote.state(), RemoteCommandState::Pending);
    remote.runPending();
    EXPECT_EQ(toolbox.posted.size(), 1u) << "the waiting command is not overwritten";

    windows.inputWaiting = false;
    remote.runPending();
    EXPECT_EQ(toolbox.replies, (Replies{{2, ToolboxReply::Done}}));
    remote.runPending();
    EXPECT_EQ(toolbox.replies, (Replies{{2, ToolboxReply::Done}, {3, ToolboxReply::Done}}));
    EXPECT_EQ(bench.runs.calls, (std::vector<std::string>{"start 2 delay 0", "start 3 delay 0"}));
}

TEST_F(RemoteCommandsTest, StartAndStopInstrumentAnswerForTheBcnTheyName) {
    bench.table.setRole(1, GroupRole::Master);
    bench.table.setRole(2, GroupRole::Slave);
    EXPECT_EQ(run(RemoteCommand::StartInstrument, 42), (Reply{42, ToolboxReply::NoSuchInstrument}));
    EXPECT_EQ(run(RemoteCommand::StartInstrument, 2), (Reply{2, ToolboxReply::Slave}));
    EXPECT_EQ(run(RemoteCommand::StopInstrument, 3), (Reply{3, ToolboxReply::NotLogging}));
    EXPECT_EQ(run(RemoteCommand::StartInstrument, 3), (Reply{3, ToolboxReply::Done}));
    EXPECT_EQ(run(RemoteCommand::StartInstrument, 3), (Reply{3, ToolboxReply::InstrumentLogging}));
    EXPECT_EQ(run(RemoteCommand::StopInstrument, 42), (Reply{42, ToolboxReply::NoSuchInstrument}));
    EXPECT_EQ(run(RemoteCommand::StopInstrument, 2), (Reply{2, ToolboxReply::Slave}));

    bench.runs.stopReply = ToolboxReply::UnableToStop;
    EXPECT_EQ(run(RemoteCommand::StopInstrument, 3), (Reply{3, ToolboxReply::UnableToStop}));
    EXPECT_EQ(run(RemoteCommand::StopInstrument, 3), (Reply{3, ToolboxReply::NotLogging})) << "already stopping";
}

TEST_F(RemoteCommandsTest, StartAllAndStopAllAnswerForTheWholeSetup) {
    EXPECT_EQ(run(RemoteCommand::StopAll), (Reply{0, ToolboxReply::NotLogging}));
    EXPECT_EQ(run(RemoteCommand::StartAll), (Reply{0, ToolboxReply::Done}));
    EXPECT_EQ(run(RemoteCommand::StartAll), (Reply{0, ToolboxReply::InstrumentLogging}));
    EXPECT_EQ(run(RemoteCommand::StopAll), (Reply{0, ToolboxReply::Done}));
    EXPECT_EQ(bench.runs.calls, (std::vector<std::string>{"start 1,2,3 delay 3", "stop 1,2,3 remote"}));

    bench.table.removeAll();
    EXPECT_EQ(run(RemoteCommand::StartAll), (Reply{0, ToolboxReply::NoSuchInstrument}));
    EXPECT_EQ(run(RemoteCommand::StopAll), (Reply{0, ToolboxReply::NoSuchInstrument}));
}

TEST_F(RemoteCommandsTest, AStartWhoseDataFileCannotBeOpenedNamesTheInstrument) {
    bench.logToDataFile({2});
    bench.files.unopenableSlots = slotBit(2);
    EXPECT_EQ(run(RemoteCommand::StartAll).first, 2);
    EXPECT_TRUE(bench.runs.calls.empty());
}

TEST_F(RemoteCommandsTest, OnlySwitchingRemoteModeRunsWhileAModalDialogIsOpen) {
    windows.enabled = false;
    toolbox.paths = {"any.stp", "any.stp"};
    for (std::uint32_t code = 1; code <= 8; ++code) {
        remote.receive(code, 1);
        remote.runPending();
        EXPECT_EQ(toolbox.replies.back(), (Reply{0, ToolboxReply::ModalDialogOpen})) << "command " << code;
    }
    EXPECT_TRUE(bench.runs.calls.empty());
    EXPECT_TRUE(toolbox.pathRequests.empty());

    EXPECT_EQ(run(RemoteCommand::SwitchRemoteMode, 1), (Reply{0, ToolboxReply::Done}));
    EXPECT_TRUE(toolbox.remoteMode());
}

TEST_F(RemoteCommandsTest, RemoteModeSwitchesOnlyToTheOtherState) {
    EXPECT_EQ(run(RemoteCommand::SwitchRemoteMode, 0).second, ToolboxReply::RemoteModeAlreadyOff);
    EXPECT_EQ(run(RemoteCommand::SwitchRemoteMode, 7).second, ToolboxReply::Done);
    EXPECT_EQ(run(RemoteCommand::SwitchRemoteMode, 1).second, ToolboxReply::RemoteModeAlreadyOn);
    EXPECT_TRUE(toolbox.remoteMode());
    EXPECT_EQ(run(RemoteCommand::SwitchRemoteMode, 0).second, ToolboxReply::Done);
    EXPECT_FALSE(toolbox.remoteMode());
    EXPECT_EQ(toolbox.remoteModes, (std::vector<bool>{true, false}));
}

TEST_F(RemoteCommandsTest, OpenSetupTakesTheFileRelativeToTheProgramDirectory) {
    toolbox.paths = {saveSetupFile("three.stp")};
    bench.table.removeAll();
    doc.setModified(true);
    EXPECT_EQ(run(RemoteCommand::OpenSetup), (Reply{0, ToolboxReply::Done}));
    EXPECT_EQ(bench.table.count(), 3);
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.pathName(), path("three.stp"));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(windows.setupsOpened, 1) << "the window shows the new setup";
}

TEST_F(RemoteCommandsTest, OpenSetupRefusals) {
    toolbox.paths = {"missing.stp"};
    EXPECT_EQ(run(RemoteCommand::OpenSetup).second, ToolboxReply::NoSuchSetupFile);

    toolbox.paths = {saveSetupFile("three.stp")};
    doc.setModified(true);
    EXPECT_EQ(run(RemoteCommand::OpenSetupKeepingChanges).second, ToolboxReply::UnsavedChanges);
    EXPECT_EQ(toolbox.pathRequests.size(), 1u) << "asked no file for the refused open";

    bench.runs.setLogging({1});
    EXPECT_EQ(run(RemoteCommand::OpenSetup).second, ToolboxReply::InstrumentLogging);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RemoteCommandsTest, SaveAndOpenSavesAChangedSetupFirst) {
    const std::string other = saveSetupFile("other.stp");
    bench.table.remove(3);
    doc.setModified(true);
    toolbox.paths = {path("saved.stp"), other};
    EXPECT_EQ(run(RemoteCommand::SaveAndOpenSetup).second, ToolboxReply::Done);
    EXPECT_EQ(toolbox.pathRequests, (std::vector<ToolboxPath>{ToolboxPath::Save, ToolboxPath::Open}));
    EXPECT_EQ(bench.table.count(), 3) << "the other setup is open";

    toolbox.paths = {path("saved.stp")};
    EXPECT_EQ(run(RemoteCommand::SaveAndOpenSetup).second, ToolboxReply::Done) << "an unchanged setup opens at once";
    EXPECT_EQ(bench.table.count(), 2);
}

TEST_F(RemoteCommandsTest, SaveAndOpenAnswersTheSavesRefusals) {
    doc.setModified(true);
    toolbox.paths = {path("no/such/directory/saved.stp")};
    EXPECT_EQ(run(RemoteCommand::SaveAndOpenSetup).second, ToolboxReply::CannotCreateSetupFile);
    EXPECT_TRUE(ui.messages().empty());

    bench.runs.setLogging({2});
    EXPECT_EQ(run(RemoteCommand::SaveAndOpenSetup).second, ToolboxReply::InstrumentLogging);
    EXPECT_TRUE(doc.modified());
}

TEST_F(RemoteCommandsTest, MxbFileChangesTheNamedInstrument) {
    bench.table.slot(2).setup->channel(2).function = ChannelFunction::Vdc;
    std::ofstream(path("scale.txt")) << "2 4 1\n";
    toolbox.paths = {"scale.txt", "scale.txt"};
    EXPECT_EQ(run(RemoteCommand::LoadMxbFile, 42), (Reply{42, ToolboxReply::NoSuchInstrument}));
    EXPECT_FALSE(doc.modified());

    EXPECT_EQ(run(RemoteCommand::LoadMxbFile, 2), (Reply{2, ToolboxReply::Done}));
    EXPECT_EQ(bench.table.slot(2).setup->channel(2).m, 4.0);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(windows.configurationChanges, 1);
}

} // namespace
} // namespace korvel

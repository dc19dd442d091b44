#include <sstream>

#include <gtest/gtest.h>

#include "platform/printing_user_interface.h"
#include "scripted_user_interface.h"

namespace korvel {
namespace {

TEST(ScriptedUserInterface, AnswersFromItsQueueThenWithTheFirstButton) {
    ScriptedUserInterface ui;
    ui.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(ui.showMessage("Save?", MessageIcon::Question, MessageButtons::YesNoCancel), MessageAnswer::No);
    EXPECT_EQ(ui.showMessage("Save?", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ui.showMessage("Stop?", MessageIcon::Exclamation, MessageButtons::OkCancel), MessageAnswer::Ok);
    ASSERT_EQ(ui.messages().size(), 3u);
    EXPECT_EQ(ui.messages()[0].text, "Save?");
    EXPECT_EQ(ui.messages()[0].answer, MessageAnswer::No);
    EXPECT_EQ(ui.messages()[2].icon, MessageIcon::Exclamation);
}

TEST(ScriptedUserInterface, AbortCountsOnlyWhileTheProgressWindowIsUp) {
    ScriptedUserInterface ui;
    ui.pressAbort();
    EXPECT_FALSE(ui.abortRequested());

    ui.showProgress("Reading Remaining Scans ...");
    ui.pressAbort();
    EXPECT_TRUE(ui.abortRequested());
    ui.showProgress("Converting File:  50%"); // still up: the request stays
    EXPECT_TRUE(ui.abortRequested());

    ui.hideProgress();
    EXPECT_FALSE(ui.progressShown());
    EXPECT_FALSE(ui.abortRequested());
    EXPECT_EQ(ui.progressTexts().size(), 2u);
}

TEST(ScriptedUserInterface, RecordsWarningsNotificationsAndTheBusyCursor) {
    ScriptedUserInterface ui;
    ui.showWarning(WarningKind::ScanQueueOverflow, "Instrument 01:  Instrument Scan Queue Overflow!",
                   "Oldest scans overwritten!");
    ui.notify(ChildWindow::QuickPlot, quick_plot::kBcnChanged, 3, 4);
    {
        BusyCursor outer(ui);
        BusyCursor inner(ui);
        EXPECT_EQ(ui.busyDepth(), 2);
    }
    EXPECT_EQ(ui.busyDepth(), 0);
    ASSERT_EQ(ui.warnings().size(), 1u);
    EXPECT_EQ(ui.warnings()[0].detail, "Oldest scans overwritten!");
    ASSERT_EQ(ui.notifications().size(), 1u);
    EXPECT_EQ(ui.notifications()[0].message, 1041);
    EXPECT_EQ(ui.notifications()[0].lParam, 4);
}

TEST(PrintingUserInterface, AnswersByItsPolicyAndPrintsWhatItShows) {
    std::ostringstream out;
    PrintingUserInterface refusing(AnswerPolicy::Refuse, out);
    EXPECT_EQ(refusing.showMessage("Save?", MessageIcon::Question, MessageButtons::YesNoCancel), MessageAnswer::No);
    EXPECT_EQ(refusing.showMessage("Go?", MessageIcon::Question, MessageButtons::OkCancel), MessageAnswer::Cancel);
    EXPECT_EQ(refusing.showMessage("Low on memory!", MessageIcon::Exclamation, MessageButtons::Ok), MessageAnswer::Ok);
    PrintingUserInterface accepting(AnswerPolicy::Accept, out);
    EXPECT_EQ(accepting.showMessage("Save?", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::Yes);
    accepting.showWarning(WarningKind::DataFile, "Instrument 02:  Unable to stop scanning!", "");
    accepting.showProgress("Reading Remaining Scans ...");
    accepting.showProgress("Reading Remaining Scans ...");
    EXPECT_TRUE(accepting.progressShown());
    EXPECT_EQ(out.str(), "Question: Save? [No]\n"
                         "Question: Go? [Cancel]\n"
                         "Warning: Low on memory! [OK]\n"
                         "Question: Save? [Yes]\n"
                         "WARNING! Instrument 02:  Unable to stop scanning!\n"
                         "Reading Remaining Scans ...\n");
}

} // namespace
} // namespace korvel

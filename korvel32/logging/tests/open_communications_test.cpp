#include "logging/communication_messages.h"
#include "logging/open_communications.h"
#include "logging/self_test_questions.h"

#include "simulated_logger.h"

#include <algorithm>

namespace korvel {
namespace {

TEST(SelfTestQuestions, TheResultWordDecidesWhenItCanBeRead) {
    EXPECT_TRUE(selfTestQuestions(0x00FF0000u, 0xFFFFu).empty()) << "no problem in bits 0..15";
    EXPECT_EQ(selfTestQuestions(kStatusSelftestResult, (1u << 16) | (1u << 5) | 1u), (std::vector<int>{716, 703, 699}));
    EXPECT_EQ(selfTestQuestions(kStatusSelftestResult, 0xFFFFu),
              (std::vector<int>{703, 704, 715, 705, 706, 699, 708, 709, 710, 711, 712, 713, 700, 701, 702, 707}));
}

TEST(SelfTestQuestions, TheStatusWordSpeaksWithoutAResultWord) {
    EXPECT_EQ(selfTestQuestions(0b111100, std::nullopt), (std::vector<int>{699, 700, 701, 702}));
    EXPECT_EQ(selfTestQuestions(kStatusSelftestResult | 0b1000, std::nullopt), (std::vector<int>{699}))
        << "the result word could not be read";
    EXPECT_TRUE(selfTestQuestions(0b11, std::nullopt).empty()) << "bits the questions do not name";
}

TEST(CommunicationFailureMessages, EveryCodeOfTheTable) {
    const std::pair<int, int> table[] = {
        {-2028, 640}, {-2027, 648}, {-1015, 648}, {-2020, 647}, {-2018, 649}, {-2012, 645},
        {-2011, 644}, {-2010, 643}, {-2005, 642}, {-1019, 652}, {-1017, 654}, {-1014, 653},
        {-1011, 650}, {-1006, 651}, {-3, 655},    {-2029, 656}, {-1, 656},
    };
    for (const auto &[code, message] : table) EXPECT_EQ(communicationFailureMessage(code), message) << code;
}

class OpenCommunications : public SimulatedLogger {
protected:
    bool open(OpenMode mode = OpenMode::StartChecks) { return openCommunications(link, 5, mode, ui); }
};

TEST_F(OpenCommunications, AHealthyInstrumentIsLeftOpenIdleAndNotScanning) {
    startInstruments({5});
    ASSERT_TRUE(open());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(connections(5), 1);
    EXPECT_EQ(sim->requestCommands(5).back(), 2) << "ends waiting on the status word";
    kvxCommClose(5);
}

TEST_F(OpenCommunications, YesToEveryQuestionGoesOn) {
    startInstruments({5});
    control("status 5 0x100");
    control("selftest 5 0x10021");
    ASSERT_TRUE(open());
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(716, 5), instrumentMessage(703, 5),
                                                           instrumentMessage(699, 5)}));
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::YesNo);
    kvxCommClose(5);
}

TEST_F(OpenCommunications, TheFirstNoEndsWithoutAskingTheRest) {
    startInstruments({5});
    control("status 5 0x3C");
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(open());
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(699, 5), instrumentMessage(700, 5)}));
    EXPECT_TRUE(kvtest::waitFor([&] { return connections(5) == 0; }, 2000));
}

TEST_F(OpenCommunications, OnlyTheStartChecksAskQuestions) {
    startInstruments({5});
    control("status 5 0x3C");
    ASSERT_TRUE(open(OpenMode::ShowErrors));
    EXPECT_TRUE(ui.messages().empty());
    kvxCommClose(5);
}

TEST_F(OpenCommunications, AnInstrumentWithAnotherIdentityIsRefused) {
    startInstruments({5});
    control("report-bcn 5 6");
    EXPECT_FALSE(open());
    control("report-bcn 5 5");
    control("model 5 M200A");
    EXPECT_FALSE(open());
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(646, 5), instrumentMessage(641, 5)}));
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(kvtest::waitFor([&] { return connections(5) == 0; }, 2000));
}

TEST_F(OpenCommunications, FailuresAreShownUnlessSilent) {
    startInstruments({5});
    EXPECT_FALSE(openCommunications(link, 9, OpenMode::Silent, ui)) << "BCN 9 is not configured";
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(openCommunications(link, 9, OpenMode::ShowErrors, ui));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{instrumentMessage(643, 9)}));
}

TEST_F(OpenCommunications, AnInstrumentThatStaysBusyIsWaitedFor) {
    startInstruments({5});
    control("busy-time 5 300");
    ASSERT_TRUE(open());
    const std::vector<int> commands = sim->requestCommands(5);
    const auto stop = std::find(commands.begin(), commands.end(), 104);
    ASSERT_NE(stop, commands.end());
    EXPECT_GT(std::count(stop, commands.end(), 2), 1) << "the status is polled until the instrument is idle";
    EXPECT_EQ(state(5, "busy"), "0");
    kvxCommClose(5);
}

} // namespace
} // namespace korvel

// The calibration commands over a real pseudo-terminal against korvel-sim:
// what each result means, the three attempts and their prompts when the
// instrument is silent or unreadable, and replies that would not fit.
#include "setup/calibration_exchange.h"
#include "setup/calibration_reply.h"

#include "setup/tests/calibration_bench.h"

#include <string>
#include <vector>

namespace korvel::test {
namespace {

using Lines = std::vector<std::string>;

TEST(CalibrationReply, EndsAtStatusPromptCrLfAndNeverHoldsMoreThanThirtyCharacters) {
    const auto feed = [](const std::string &text, CalibrationReply &reply) {
        CalibrationReply::State state = CalibrationReply::State::Incomplete;
        for (const char c : text) state = reply.add(c);
        return state;
    };
    struct Case {
        std::string text;
        CalibrationReply::State state;
        std::string value;
    };
    const std::string thirty = std::string(26, '1') + "=>\r\n";
    const Case cases[] = {
        {"=>\r\n", CalibrationReply::State::Complete, ""},
        {"2.5e+06=>\r\n", CalibrationReply::State::Complete, "2.5e+06"},
        {">\r\n", CalibrationReply::State::Incomplete, ""},      // no status character yet
        {"1\r\n2=>\r", CalibrationReply::State::Incomplete, ""}, // CR LF alone ends nothing
        {thirty, CalibrationReply::State::Complete, std::string(26, '1')},
        {"1" + thirty, CalibrationReply::State::Overlong, ""},
        {std::string(30, 'x'), CalibrationReply::State::Overlong, ""},
    };
    for (const Case &c : cases) {
        CalibrationReply reply;
        EXPECT_EQ(feed(c.text, reply), c.state) << c.text;
        if (c.state == CalibrationReply::State::Complete) {
            EXPECT_EQ(reply.value(), c.value);
        }
        // Whatever follows an overlong reply is refused, not stored.
        if (c.state == CalibrationReply::State::Overlong) {
            EXPECT_EQ(feed("=>\r\n", reply), c.state);
        }
    }
}

using CalibrationExchangeTest = CalibrationBench;

TEST_F(CalibrationExchangeTest, AnswersGiveSuccessRefusalAndTheValuesTheInstrumentNames) {
    CalibrationExchange exchange(port, ui);
    control("serial steps 3 2500000 999.5");
    EXPECT_EQ(exchange.enterCalibration(3), CalibrationResult::Success);
    float reference = 0.0f;
    EXPECT_EQ(exchange.askReference(reference), CalibrationResult::Success);
    EXPECT_EQ(reference, 2500000.0f);
    long steps = -1;
    EXPECT_EQ(exchange.askStepsLeft(steps), CalibrationResult::Success);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(exchange.tellReference(2501234.5f), CalibrationResult::Success);
    EXPECT_EQ(exchange.tellReference(0.0f), CalibrationResult::Refused); // too far from the reference
    EXPECT_EQ(exchange.performStep(), CalibrationResult::Success);
    EXPECT_EQ(exchange.askReference(reference), CalibrationResult::Success);
    EXPECT_EQ(reference, 999.5f);
    EXPECT_EQ(exchange.resetInstrument(), CalibrationResult::Success);

    control("serial enable 0");
    EXPECT_EQ(exchange.enterCalibration(1), CalibrationResult::Refused);
    EXPECT_EQ(received(), (Lines{"CAL 3", "CAL_REF?", "CAL?", "CAL_REF 2501234", "CAL_REF 0", "CAL_STEP?", "CAL_REF?",
                                 "*RST", "CAL 1"}));
    EXPECT_EQ(ui.busyDepth(), 0);
    EXPECT_TRUE(ui.messages().empty()); // the exchange reports; the dialogs tell the user
}

TEST_F(CalibrationExchangeTest, ActualValuesTravelWithSevenSignificantDigits) {
    CalibrationExchange exchange(port, ui);
    control("serial steps 1 1.234567 0.001");
    ASSERT_EQ(exchange.enterCalibration(1), CalibrationResult::Success);
    EXPECT_EQ(exchange.tellReference(1.2345678f), CalibrationResult::Success);
    ASSERT_EQ(exchange.performStep(), CalibrationResult::Success);
    EXPECT_EQ(exchange.tellReference(0.00099f), CalibrationResult::Success);
    EXPECT_EQ(countReceived("CAL_REF 1.234568"), 1);
    EXPECT_EQ(countReceived("CAL_REF 0.00099"), 1);
}

TEST_F(CalibrationExchangeTest, ASilentInstrumentGetsThreeAttemptsEachWithTwoPrompts) {
    CalibrationExchange exchange(port, ui, kQuietLimits);
    control("serial fault silent");
    EXPECT_EQ(exchange.enterCalibration(4), CalibrationResult::CommunicationFailure);
    const Lines attempt{"CAL 4", "<03>", "<03>"};
    Lines expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), attempt.begin(), attempt.end());
    EXPECT_EQ(received(), expected);
    EXPECT_GT(ui.pumps(), 0); // the windows went on while it waited
    EXPECT_EQ(ui.busyDepth(), 0);
}

TEST_F(CalibrationExchangeTest, AnAnsweredPromptBringsTheNextAttemptAtOnce) {
    CalibrationExchange exchange(port, ui, {150ms, 150ms, 5000ms});
    control("serial fault prompt-only");
    EXPECT_EQ(exchange.performStep(), CalibrationResult::CommunicationFailure);
    EXPECT_EQ(received(), (Lines{"CAL_STEP?", "<03>", "CAL_STEP?", "<03>", "CAL_STEP?", "<03>"}));

    // Once the instrument answers again, the attempt after the prompt succeeds.
    control("serial forget");
    control("serial fault prompt-only 1");
    CalibrationExchange patient(port, ui, {1000ms, 1000ms, 5000ms});
    EXPECT_EQ(patient.enterCalibration(2), CalibrationResult::Success);
    EXPECT_EQ(received(), (Lines{"CAL 2", "<03>", "CAL 2"}));
}

TEST_F(CalibrationExchangeTest, UnreadableAndOverlongRepliesAreRetriedWithoutPrompts) {
    CalibrationExchange exchange(port, ui);
    for (const std::string fault : {"garbled", "long"}) {
        control("serial forget");
        control("serial fault " + fault);
        EXPECT_EQ(exchange.enterCalibration(1), CalibrationResult::CommunicationFailure) << fault;
        EXPECT_EQ(received(), (Lines{"CAL 1", "CAL 1", "CAL 1"})) << fault;

        control("serial forget");
        control("serial fault " + fault + " 1");
        EXPECT_EQ(exchange.enterCalibration(1), CalibrationResult::Success) << fault;
        EXPECT_EQ(received(), (Lines{"CAL 1", "CAL 1"})) << fault;
    }
}

TEST_F(CalibrationExchangeTest, AReferenceInAnOverlongReplyIsNeverTaken) {
    CalibrationExchange exchange(port, ui);
    control("serial steps 3 300");
    ASSERT_EQ(exchange.enterCalibration(3), CalibrationResult::Success);
    control("serial fault long");
    float reference = -1.0f;
    EXPECT_EQ(exchange.askReference(reference), CalibrationResult::CommunicationFailure);
    EXPECT_EQ(reference, -1.0f);
}

TEST_F(CalibrationExchangeTest, TheResetIsSentOnceWhateverComesBack) {
    CalibrationExchange exchange(port, ui, kQuietLimits);
    control("serial fault silent");
    EXPECT_EQ(exchange.resetInstrument(), CalibrationResult::CommunicationFailure);
    control("serial fault garbled");
    EXPECT_EQ(exchange.resetInstrument(), CalibrationResult::CommunicationFailure);
    EXPECT_EQ(received(), (Lines{"*RST", "*RST"}));
}

TEST_F(CalibrationExchangeTest, AnInstrumentAtAnotherBaudRateCannotBeReached) {
    control("serial baud 9600");
    EXPECT_EQ(CalibrationExchange(port, ui, kQuietLimits).enterCalibration(1), CalibrationResult::CommunicationFailure);
    EXPECT_TRUE(received().empty());
    ASSERT_TRUE(port.open(sim.serialPath(), 9600));
    EXPECT_EQ(CalibrationExchange(port, ui).enterCalibration(1), CalibrationResult::Success);
}

} // namespace
} // namespace korvel::test

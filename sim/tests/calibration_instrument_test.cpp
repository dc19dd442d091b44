// The instrument's side of the calibration protocol, driven in-process: what
// each command answers in each state, lines that arrive in pieces, the
// prompt byte, and faults that wear off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calibration_instrument.h"

namespace korvelsim {
namespace {

// The replies' bytes, concatenated.
std::string replies(CalibrationInstrument &instrument, std::string_view bytes) {
    std::string text;
    for (const CalibrationInstrument::Reply &reply : instrument.receive(bytes)) text += reply.bytes;
    return text;
}

TEST(CalibrationInstrument, WalksAFunctionsStepsAndTakesActualValuesCloseToTheReference) {
    CalibrationInstrument instrument;
    instrument.references[2] = {1000.0f, 2500000.0f};
    EXPECT_EQ(replies(instrument, "CAL_REF?\r\n"), "!>\r\n"); // not calibrating yet
    EXPECT_EQ(replies(instrument, "CAL 3\r\nCAL_REF?\r\nCAL?\r\n"), "=>\r\n1000=>\r\n2=>\r\n");
    EXPECT_EQ(replies(instrument, "CAL_REF 1200\r\n"), "!>\r\n"); // 20 % off
    EXPECT_EQ(replies(instrument, "CAL_REF 1090\r\nCAL_STEP?\r\n"), "=>\r\n=>\r\n");
    EXPECT_EQ(replies(instrument, "CAL_REF?\r\nCAL_STEP?\r\nCAL?\r\n"), "2500000=>\r\n=>\r\n0=>\r\n");
    EXPECT_EQ(replies(instrument, "CAL_STEP?\r\n"), "!>\r\n"); // nothing left to perform
    EXPECT_EQ(instrument.calibratedWith, (std::vector<float>{1090.0f, 2500000.0f}));
    EXPECT_EQ(replies(instrument, "*RST\r\nCAL?\r\n"), "=>\r\n!>\r\n");
    EXPECT_EQ(instrument.resets, 1);
}

TEST(CalibrationInstrument, RefusesUnknownFunctionsCommandsAndCalibrationWhileSwitchedOff) {
    CalibrationInstrument instrument;
    EXPECT_EQ(replies(instrument, "CAL 0\r\nCAL 5\r\nCAL 1.5\r\nCAL x\r\nHELLO\r\n"), "!>\r\n!>\r\n!>\r\n!>\r\n!>\r\n");
    instrument.calibrationEnabled = false;
    EXPECT_EQ(replies(instrument, "CAL 1\r\n"), "!>\r\n");
    EXPECT_EQ(instrument.function(), 0);
}

TEST(CalibrationInstrument, LinesMayArriveInPiecesAndAPromptAbandonsAHalfLine) {
    CalibrationInstrument instrument;
    EXPECT_EQ(replies(instrument, "CA"), "");
    EXPECT_EQ(replies(instrument, "L 2\r"), "");
    EXPECT_EQ(replies(instrument, "\n"), "=>\r\n");
    EXPECT_EQ(replies(instrument, "CAL_RE\x03"), "=>\r\n");
    EXPECT_EQ(replies(instrument, "\x11"
                                  "CAL?\x13\r\n"),
              "3=>\r\n"); // flow control is no text
    EXPECT_EQ(instrument.received, (std::vector<std::string>{"CAL 2", "<03>", "CAL?"}));
}

TEST(CalibrationInstrument, AStepTakesItsTimeAndABadSourceRefusesIt) {
    CalibrationInstrument instrument;
    instrument.stepTime = std::chrono::milliseconds(700);
    instrument.badInputs = 1;
    replies(instrument, "CAL 1\r\n");
    const auto refused = instrument.receive("CAL_STEP?\r\n");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].bytes, "!>\r\n");
    EXPECT_EQ(refused[0].delay, std::chrono::milliseconds(700));
    EXPECT_EQ(instrument.step(), 0u);
    EXPECT_EQ(replies(instrument, "CAL_STEP?\r\n"), "=>\r\n");
    EXPECT_EQ(instrument.step(), 1u);
}

TEST(CalibrationInstrument, FaultsSpoilRepliesAndWearOffAfterTheirCount) {
    CalibrationInstrument instrument;
    instrument.fault = CalibrationFault::Silent;
    EXPECT_EQ(replies(instrument, "CAL 1\r\n\x03"), "");

    instrument.fault = CalibrationFault::PromptOnly;
    EXPECT_EQ(replies(instrument, "CAL 1\r\n\x03"), "=>\r\n");

    instrument.fault = CalibrationFault::Garbled;
    EXPECT_EQ(replies(instrument, "CAL?\r\n"), "\xB6\xBD>\r\n"); // "6=" with the top bit set

    instrument.fault = CalibrationFault::Overlong;
    instrument.faultReplies = 1;
    const std::string padded = replies(instrument, "CAL?\r\n");
    EXPECT_EQ(padded.size(), 40u);
    EXPECT_EQ(padded.substr(padded.size() - 5), "6=>\r\n");
    EXPECT_EQ(replies(instrument, "CAL?\r\n"), "6=>\r\n");
    EXPECT_EQ(instrument.fault, CalibrationFault::None);
}

TEST(CalibrationInstrument, OnlyItsOwnBaudRateWithEightDataBitsNoParityAndOneStopBitIsUnderstood) {
    CalibrationInstrument instrument;
    EXPECT_TRUE(instrument.understands({19200, 8, false, 1, true}));
    EXPECT_TRUE(instrument.understands({19200, 8, false, 1, false})); // flow control is the logger's business
    EXPECT_FALSE(instrument.understands({9600, 8, false, 1, true}));
    EXPECT_FALSE(instrument.understands({19200, 7, false, 1, true}));
    EXPECT_FALSE(instrument.understands({19200, 8, true, 1, true}));
    EXPECT_FALSE(instrument.understands({19200, 8, false, 2, true}));
}

} // namespace
} // namespace korvelsim

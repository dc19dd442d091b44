// The Calibration Steps rules against korvel-sim's calibration port: whole
// calibrations, the references as shown, the actual value sent only when it
// was changed, and each message with what the dialog does after it.
#include "setup/calibration_steps.h"

#include "platform/string_table.h"
#include "setup/tests/calibration_bench.h"

#include <algorithm>
#include <sstream>

namespace korvel::test {
namespace {

using Lines = std::vector<std::string>;

class CalibrationStepsTest : public CalibrationBench {
protected:
    std::vector<std::string> messages() const { return ui.messageTexts(); }

    // The values each performed step took, as the simulator reports them.
    std::string calibratedWith() { return sim.control("serial calibrated"); }

    CalibrationExchange exchange{port, ui};
};

TEST_F(CalibrationStepsTest, EachFunctionIsCalibratedToTheEndWithTheReferencesAsNamed) {
    for (const CalibrationFunction function : kCalibrationFunctions) {
        const CalibrationFunctionInfo &info = calibrationFunctionInfo(function);
        control("serial forget");
        CalibrationSteps steps(function, exchange, ui, '.');
        EXPECT_EQ(steps.caption(), std::string("Calibration Steps") + info.titleSuffix);
        ASSERT_TRUE(steps.begin()) << info.button;
        int performed = 0;
        for (; !steps.complete() && performed < 10; ++performed) {
            EXPECT_EQ(steps.focus(), CalibrationSteps::Focus::ActualValue);
            steps.performStep(steps.actualText());
        }
        EXPECT_GT(performed, 0);
        EXPECT_EQ(steps.focus(), CalibrationSteps::Focus::Done);
        EXPECT_EQ(sim.serialState("left"), "0");
        EXPECT_EQ(sim.serialState("function"), std::to_string(info.mode));
        EXPECT_EQ(countReceived("CAL " + std::to_string(info.mode)), 1);
        EXPECT_EQ(countReceived("CAL_STEP?"), performed);
        const std::string values = calibratedWith();
        EXPECT_EQ(std::count(values.begin(), values.end(), ' '), performed) << values;
        for (const std::string &line : received()) EXPECT_NE(line.rfind("CAL_REF ", 0), 0u) << line;
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(CalibrationStepsTest, ReferencesAreShownScaledWithTheirUnitsAndTheRegionalDecimalSymbol) {
    struct Shown {
        std::string apply;
        std::string unit;
    };
    control("serial steps 3 999.5 1000 2500000 0 1234567");
    CalibrationSteps steps(CalibrationFunction::Resistance, exchange, ui, ',');
    ASSERT_TRUE(steps.begin());
    const Shown expected[] = {{"999,5 Ohms", "Ohms"},
                              {"1 kOhms", "kOhms"},
                              {"2,5 MOhms", "MOhms"},
                              {"0 Ohms", "Ohms"},
                              {"1,23457 MOhms", "MOhms"}};
    for (const Shown &shown : expected) {
        EXPECT_EQ(steps.applyText(), shown.apply);
        EXPECT_EQ(steps.unitText(), shown.unit);
        EXPECT_EQ(steps.actualText() + " " + steps.unitText(), shown.apply);
        steps.performStep(steps.actualText());
    }
    EXPECT_TRUE(steps.complete());
    // Left as shown, even the rounded reference calibrates with the instrument's own value.
    EXPECT_EQ(calibratedWith(), "ok 999.5 1000 2500000 0 1234567");
    EXPECT_EQ(countReceived("CAL_REF 1234570"), 0);
}

TEST_F(CalibrationStepsTest, FrequencyAndVoltsShowTheirOwnUnits) {
    control("serial steps 4 50 5000 3000000");
    control("serial steps 2 0.3");
    CalibrationSteps frequency(CalibrationFunction::Frequency, exchange, ui, '.');
    ASSERT_TRUE(frequency.begin());
    EXPECT_EQ(frequency.applyText(), "50 Hz (3V Signal)");
    frequency.performStep(frequency.actualText());
    EXPECT_EQ(frequency.applyText(), "5 kHz (3V Signal)");
    frequency.performStep(frequency.actualText());
    EXPECT_EQ(frequency.applyText(), "3 MHz (3V Signal)");
    CalibrationSteps volts(CalibrationFunction::VoltsAc, exchange, ui, '.');
    ASSERT_TRUE(volts.begin());
    EXPECT_EQ(volts.applyText(), "0.3 VAC (1 kHz)");
}

TEST_F(CalibrationStepsTest, AChangedActualValueIsSentInTheInstrumentsUnitsBeforeTheStep) {
    control("serial steps 3 1000 2500000 100");
    CalibrationSteps steps(CalibrationFunction::Resistance, exchange, ui, ',');
    ASSERT_TRUE(steps.begin());
    steps.performStep("1,01");
    steps.performStep("2,50"); // another way of writing the reference: nothing to tell
    steps.performStep(" 100,0");
    EXPECT_TRUE(steps.complete());
    EXPECT_EQ(received(), (Lines{"CAL 3", "CAL_REF?", "CAL_REF 1010", "CAL_STEP?", "CAL?", "CAL_REF?", "CAL_STEP?",
                                 "CAL?", "CAL_REF?", "CAL_STEP?", "CAL?"}));
    EXPECT_EQ(calibratedWith(), "ok 1010 2500000 100");
}

TEST_F(CalibrationStepsTest, ARefusedActualValueKeepsTheStepAndTheTypedText) {
    control("serial steps 1 3 30");
    CalibrationSteps steps(CalibrationFunction::VoltsDc, exchange, ui, '.');
    ASSERT_TRUE(steps.begin());
    for (const std::string typed : {"5", "abc", "1e300"}) {
        steps.performStep(typed);
        EXPECT_EQ(steps.actualText(), typed);
        EXPECT_EQ(steps.focus(), CalibrationSteps::Focus::ActualValue);
    }
    EXPECT_EQ(messages(), Lines(3, resourceString(message::kActualValueRefused)));
    EXPECT_EQ(countReceived("CAL_STEP?"), 0);
    EXPECT_EQ(countReceived("CAL_REF 5"), 1);
    EXPECT_EQ(countReceived("CAL_REF 0"), 1); // no number reads as 0, as typed numbers do
    EXPECT_EQ(sim.serialState("step"), "0");
    steps.performStep("3.1");
    EXPECT_EQ(steps.applyText(), "30 VDC");
}

TEST_F(CalibrationStepsTest, ABadSourceRefusesTheStepAndTheDialogIsDisabledOnlyWhileItRuns) {
    std::ostringstream running;
    control("serial bad-input 1");
    CalibrationSteps steps(CalibrationFunction::VoltsAc, exchange, ui, '.');
    steps.onStepRunning([&](bool on) { running << on; });
    ASSERT_TRUE(steps.begin());
    const std::string first = steps.applyText();
    steps.performStep(steps.actualText());
    EXPECT_EQ(messages(), Lines{resourceString(message::kBadCalibrationInput)});
    EXPECT_EQ(steps.applyText(), first);
    EXPECT_EQ(countReceived("CAL?"), 0);
    steps.performStep(steps.actualText());
    EXPECT_NE(steps.applyText(), first);
    EXPECT_EQ(running.str(), "1010");
}

TEST_F(CalibrationStepsTest, CalibrationModeOffIsToldAndTheDialogCloses) {
    control("serial enable 0");
    CalibrationSteps steps(CalibrationFunction::VoltsDc, exchange, ui, '.');
    EXPECT_FALSE(steps.begin());
    EXPECT_EQ(messages(), Lines{"Calibration Mode not enabled!  See service manual."});
    EXPECT_EQ(received(), Lines{"CAL 1"});
}

TEST_F(CalibrationStepsTest, ASilentInstrumentIsToldAfterThreeAttemptsAndTheDialogCloses) {
    control("serial fault silent");
    CalibrationExchange quick(port, ui, kQuietLimits);
    CalibrationSteps steps(CalibrationFunction::Frequency, quick, ui, '.');
    EXPECT_FALSE(steps.begin());
    EXPECT_EQ(messages(), Lines{"Unable to communicate with instrument!"});
    EXPECT_EQ(countReceived("CAL 4"), 3);
    EXPECT_EQ(countReceived("<03>"), 6);
}

TEST_F(CalibrationStepsTest, AStepThatCannotBeFetchedIsToldAndTheDialogStays) {
    control("serial steps 1"); // none: the instrument refuses to name a reference
    CalibrationSteps steps(CalibrationFunction::VoltsDc, exchange, ui, '.');
    EXPECT_TRUE(steps.begin());
    EXPECT_EQ(messages(), Lines{resourceString(message::kCalibrationModeOff)});
    EXPECT_EQ(steps.applyText(), "");
    EXPECT_FALSE(steps.complete());
}

} // namespace
} // namespace korvel::test

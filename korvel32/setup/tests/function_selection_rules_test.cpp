#include "setup/function_selection_rules.h"

#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korvel;

namespace {

const InstrumentIdentity kM100A{12, ModelCode::M100A, GroupRole::Async, false, true};
const InstrumentIdentity kM200A{34, ModelCode::M200A, GroupRole::Async, false, true};

using Items = std::vector<std::string>;

ChannelSetup vdcChannel() {
    SetupTemplate setupTemplate;
    setupTemplate.complete("Label", "VDC");
    return setupTemplate.defaultSetup.channel(1);
}

FunctionSelectionModel modelOn(const InstrumentIdentity &identity, char decimalSymbol = '.',
                               TemperatureUnits units = TemperatureUnits::Celsius) {
    return FunctionSelectionModel(vdcChannel(), identity, units, decimalSymbol);
}

int indexOf(const Items &items, const std::string &text) {
    const auto found = std::find(items.begin(), items.end(), text);
    EXPECT_NE(found, items.end()) << text;
    return static_cast<int>(found - items.begin());
}

void choose(FunctionSelectionModel &model, const std::string &function, const std::string &range = {}) {
    model.chooseFunction(indexOf(model.functionItems(), function));
    if (!range.empty()) model.chooseRange(indexOf(model.rangeItems(), range));
}

TEST(FunctionSelection, TheListsFollowTheModel) {
    EXPECT_EQ(modelOn(kM100A).functionItems(), (Items{"OFF", "VDC", "VAC", "Ohms-2W", "Ohms-4W", "Thermocouple",
                                                      "RTD-2W", "RTD-4W", "Freq", "Current"}));
    EXPECT_EQ(modelOn(kM200A).functionItems(),
              (Items{"OFF", "VDC", "VAC", "Ohms-2W", "Ohms-4W", "Thermocouple", "RTD-4W", "Freq", "Current"}));

    struct Case {
        const InstrumentIdentity &identity;
        const char *function;
        Items ranges;
    };
    const Case cases[] = {
        {kM100A, "VDC", {"90 mV", "300 mV", "3 V", "30 V", "150/300 V", "Auto"}},
        {kM200A, "VDC", {"90 mV", "300 mV", "3 V", "30 V", "50 V", "Auto"}},
        {kM100A, "VAC", {"300 mV", "3 V", "30 V", "150/300 V", "Auto"}},
        {kM200A, "VAC", {"300 mV", "3 V", "30 V", "Auto"}},
        {kM100A, "Ohms-2W", {"300 Ohms", "3 kOhms", "30 kOhms", "300 kOhms", "3 MOhms", "Auto"}},
        {kM200A, "Ohms-2W", {"30 kOhms", "300 kOhms", "3 MOhms", "Auto"}},
        {kM200A, "Ohms-4W", {"300 Ohms", "3 kOhms", "30 kOhms", "300 kOhms", "3 MOhms", "Auto"}},
        {kM200A, "Thermocouple", {"J", "K", "E", "T", "N", "R", "S", "B", "C"}},
        {kM200A, "RTD-4W", {"Fixed-385", "Custom-385"}},
        {kM100A, "Current", {"4-20 mA", "0-100 mA"}},
        {kM100A, "Freq", {}},
        {kM100A, "OFF", {}},
    };
    for (const Case &c : cases) {
        FunctionSelectionModel model = modelOn(c.identity);
        choose(model, "OFF");
        choose(model, c.function);
        EXPECT_EQ(model.rangeItems(), c.ranges) << c.function;
        EXPECT_EQ(model.rangeIndex(), c.ranges.empty() ? -1 : 0) << c.function;
        EXPECT_EQ(model.enabled(FunctionControl::Range), !c.ranges.empty()) << c.function;
    }
}

// The stored range is the code of the item at the chosen position.
TEST(FunctionSelection, TheRangeIsStoredFromItsListPosition) {
    struct Case {
        const InstrumentIdentity &identity;
        const char *function;
        int position;
        RangeCode stored;
    };
    const Case cases[] = {
        {kM100A, "VDC", 4, RangeCode::Vdc150_300V},
        {kM200A, "VDC", 4, RangeCode::Vdc50V},
        {kM200A, "VDC", 5, RangeCode::Auto},
        {kM200A, "VAC", 3, RangeCode::Auto},
        {kM100A, "VAC", 3, RangeCode::Vac150_300V},
        {kM200A, "Ohms-2W", 0, RangeCode::Ohms30k},
        {kM100A, "Ohms-2W", 0, RangeCode::Ohms300},
        {kM100A, "Thermocouple", 8, RangeCode::TcC},
        {kM100A, "Current", 1, RangeCode::Current0to100mA},
    };
    for (const Case &c : cases) {
        FunctionSelectionModel model = modelOn(c.identity);
        choose(model, c.function);
        model.chooseRange(c.position);
        ASSERT_EQ(model.accept(), std::nullopt);
        EXPECT_EQ(model.result().range, c.stored) << c.function << " item " << c.position;
    }
    FunctionSelectionModel freq = modelOn(kM100A);
    choose(freq, "Freq");
    ASSERT_EQ(freq.accept(), std::nullopt);
    EXPECT_EQ(freq.result().range, RangeCode::Auto);
}

TEST(FunctionSelection, AChangeOfFunctionFillsInItsDefaults) {
    struct Case {
        const char *function;
        TemperatureUnits units;
        const char *unitsLabel;
        const char *r0;
        const char *shunt;
        std::vector<FunctionControl> enabled;
    };
    using enum FunctionControl;
    const Case cases[] = {
        {"VAC", TemperatureUnits::Celsius, "VAC", "", "", {Function, Range, UnitsLabel}},
        {"Ohms-4W", TemperatureUnits::Celsius, "Ohms", "", "", {Function, Range, UnitsLabel}},
        {"Freq", TemperatureUnits::Celsius, "Hz", "", "", {Function, UnitsLabel}},
        {"Current", TemperatureUnits::Celsius, "Percent", "", "10", {Function, Range, Shunt, UnitsLabel}},
        {"Thermocouple", TemperatureUnits::Fahrenheit, "\u00B0F", "", "", {Function, Range, OpenTcDetect, UnitsLabel}},
        {"RTD-2W", TemperatureUnits::Celsius, "\u00B0C", "100", "", {Function, Range, R0, UnitsLabel}},
        {"OFF", TemperatureUnits::Celsius, "", "", "", {Function}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.function);
        ChannelSetup seed = vdcChannel();
        seed.openTcDetect = false;
        FunctionSelectionModel model(seed, kM100A, c.units, '.');
        model.setUnitsLabel("Volts");
        choose(model, c.function);
        EXPECT_EQ(model.unitsLabel(), c.unitsLabel);
        EXPECT_EQ(model.r0Text(), c.r0);
        EXPECT_EQ(model.alphaText(), "");
        EXPECT_EQ(model.shuntText(), c.shunt);
        for (const FunctionControl control : {Function, Range, R0, Alpha, Shunt, OpenTcDetect, UnitsLabel}) {
            const bool expected = std::find(c.enabled.begin(), c.enabled.end(), control) != c.enabled.end();
            EXPECT_EQ(model.enabled(control), expected) << static_cast<int>(control);
        }
    }

    // Only a different function brings defaults; the thermocouple box is ticked.
    FunctionSelectionModel model = modelOn(kM100A);
    model.setUnitsLabel("mV");
    choose(model, "VDC");
    EXPECT_EQ(model.unitsLabel(), "mV");
    model.setOpenTcDetect(false);
    choose(model, "Thermocouple");
    EXPECT_TRUE(model.openTcDetect());
}

TEST(FunctionSelection, TheRangeOfAnRtdOrACurrentBringsItsAlphaOrUnits) {
    FunctionSelectionModel rtd = modelOn(kM200A, ',');
    choose(rtd, "RTD-4W", "Custom-385");
    EXPECT_EQ(rtd.alphaText(), "0,00385055");
    EXPECT_TRUE(rtd.enabled(FunctionControl::Alpha));
    ASSERT_EQ(rtd.accept(), std::nullopt);
    EXPECT_DOUBLE_EQ(rtd.result().alpha, 0.00385055);
    EXPECT_DOUBLE_EQ(rtd.result().r0, 100.0);
    rtd.chooseRange(0);
    EXPECT_EQ(rtd.alphaText(), "");
    EXPECT_FALSE(rtd.enabled(FunctionControl::Alpha));
    ASSERT_EQ(rtd.accept(), std::nullopt);
    EXPECT_EQ(rtd.result().alpha, 0.0) << "Fixed-385 has no alpha of its own";

    FunctionSelectionModel current = modelOn(kM100A);
    choose(current, "Current", "0-100 mA");
    EXPECT_EQ(current.unitsLabel(), "Amps");
    current.chooseRange(0);
    EXPECT_EQ(current.unitsLabel(), "Percent");
}

// Each bound is part of the range; a text that is no number reads as 0.
TEST(FunctionSelection, OkChecksR0AlphaAndShuntWithinTheirRanges) {
    struct Case {
        const char *function;
        const char *range;
        FunctionControl field;
        const char *text;
        int refusal; // 0 when accepted
    };
    using enum FunctionControl;
    const Case cases[] = {
        {"RTD-2W", "Fixed-385", R0, "10", 0},          {"RTD-2W", "Fixed-385", R0, "1010", 0},
        {"RTD-2W", "Fixed-385", R0, "9,99", 156},      {"RTD-2W", "Fixed-385", R0, "1010,01", 156},
        {"RTD-4W", "Fixed-385", R0, "Pt100", 156},     {"RTD-4W", "Custom-385", Alpha, "0,00374", 0},
        {"RTD-4W", "Custom-385", Alpha, "0,00393", 0}, {"RTD-4W", "Custom-385", Alpha, "0,003739", 157},
        {"RTD-4W", "Custom-385", Alpha, "", 157},      {"Current", "4-20 mA", Shunt, "250", 0},
        {"Current", "4-20 mA", Shunt, "250,5", 158},   {"Current", "0-100 mA", Shunt, "9", 158},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.function) + " " + c.text);
        FunctionSelectionModel model = modelOn(kM100A, ',');
        choose(model, c.function, c.range);
        if (c.field == R0) model.setR0Text(c.text);
        if (c.field == Alpha) model.setAlphaText(c.text);
        if (c.field == Shunt) model.setShuntText(c.text);
        const auto refused = model.accept();
        if (c.refusal == 0) {
            EXPECT_EQ(refused, std::nullopt);
            continue;
        }
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->messageId, c.refusal);
        EXPECT_EQ(refused->focus, c.field);
    }

    FunctionSelectionModel model = modelOn(kM100A);
    choose(model, "RTD-2W", "Custom-385");
    model.setAlphaText("0.004");
    EXPECT_EQ(model.accept()->text, "RTD Alpha value must range from 0.00374 to 0.00393!");
    model.setAlphaText("0.0038");
    model.setR0Text("5");
    EXPECT_EQ(model.accept()->text, "RTD R0 value must range from 10 to 1010 Ohms!") << "R0 is checked first";
}

TEST(FunctionSelection, AnUntouchedFieldKeepsTheStoredValueExactly) {
    ChannelSetup seed = vdcChannel();
    seed.function = ChannelFunction::Rtd4W;
    seed.range = RangeCode::RtdCustom385;
    seed.r0 = 100.123456789;
    seed.alpha = 0.0038512345;
    seed.unitsLabel = "\u00B0C";
    FunctionSelectionModel model(seed, kM100A, TemperatureUnits::Celsius, '.');
    EXPECT_EQ(model.r0Text(), "100.123");
    EXPECT_EQ(model.rangeIndex(), 1);
    ASSERT_EQ(model.accept(), std::nullopt);
    EXPECT_EQ(model.result(), (AnalogFunction{ChannelFunction::Rtd4W, RangeCode::RtdCustom385, 100.123456789,
                                              0.0038512345, true, 0.0, "\u00B0C"}));
    model.setR0Text("100.5");
    ASSERT_EQ(model.accept(), std::nullopt);
    EXPECT_EQ(model.result().r0, 100.5);
}

TEST(FunctionSelection, TheCaptionNamesTheInstrumentAndItsRoleWhileTheSetupHasAMaster) {
    EXPECT_EQ(modelOn(kM100A).caption(), "Function Selection - 12");
    InstrumentIdentity slave = kM200A;
    slave.role = GroupRole::Slave;
    slave.setupHasMaster = true;
    EXPECT_EQ(modelOn(slave).caption(), "Function Selection - 34 (Slave)");
}

} // namespace

#include "setup/computed_channel_rules.h"

#include "kvlink32.h"
#include "link/instrument_link.h"
#include "platform/string_table.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

using namespace korvel;

namespace {

constexpr unsigned kBcn = 12;

// A new instrument's setup (channels 1..3 VDC) with the library started, as
// the equation compiler needs.
class ComputedChannelRules : public ::testing::Test {
protected:
    ComputedChannelRules() {
        setupTemplate.complete("Label", "VDC");
        setup = setupTemplate.defaultSetup;
    }
    void SetUp() override { ASSERT_EQ(kvxLibInit(0), KVX_OK); }
    void TearDown() override { kvxLibExit(); }

    InstrumentLink library;

    // The Computed Function dialog on channel, the function chosen and OK pressed.
    std::optional<ComputedChannelRefusal> accept(int channel, ChannelFunction function, const std::string &equation,
                                                 char decimalSymbol = '.') {
        definition = computedDefinitionOf(setup, channel);
        chooseComputedFunction(definition, function);
        definition.equation = equation;
        return acceptComputedFunction(library, definition, decimalSymbol);
    }

    // An Equation channel as the dialogs leave it.
    void defineEquation(int channel, const std::string &equation) {
        ASSERT_EQ(accept(channel, ChannelFunction::Equation, equation), std::nullopt) << equation;
        const int selected[] = {channel};
        ASSERT_EQ(applyComputedDefinition(setup, definition, selected), std::nullopt) << equation;
    }

    SetupTemplate setupTemplate;
    InstrumentSetup setup;
    ComputedDefinition definition;
};

TEST_F(ComputedChannelRules, AnEquationKeepsItsTextSizeAndTheChannelsItReadsFromBitOne) {
    defineEquation(21, "(C1+C2)/2");
    const ChannelSetup &channel = setup.channel(21);
    EXPECT_EQ(channel.function, ChannelFunction::Equation);
    EXPECT_EQ(channel.unitsLabel, "Equ");
    EXPECT_EQ(channel.equationSet, channelBit(1) | channelBit(2));
    EXPECT_EQ(channel.equationLength, 10);
    EXPECT_EQ(channel.compiledSize, 14); // two readings, add, a constant, divide, end
    EXPECT_EQ(setup.equation(21), "(C1+C2)/2");

    // The regional decimal character is read, and kept, as a point.
    ASSERT_EQ(accept(22, ChannelFunction::Equation, "C3*1,5", ','), std::nullopt);
    EXPECT_EQ(definition.equation, "C3*1.5");
    EXPECT_EQ(definition.channel.equationSet, channelBit(3));
}

TEST_F(ComputedChannelRules, AnEquationThatDoesNotCompileIsRefusedWithTheCompilersMessageAndPosition) {
    struct Case {
        const char *equation;
        int messageId;
        int caret;
    };
    const Case cases[] = {
        {"C31*2", 1600, 0},  {"C1+", 1601, 3},    {"CX", 1601, 0},      {"((((C1))))", 1602, 3},
        {"log(C1", 1603, 6}, {"LOG C1", 1604, 4}, {"C1*1e39", 1606, 3}, {"2*3", 1607, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.equation);
        const auto refused = accept(23, ChannelFunction::Equation, c.equation);
        ASSERT_TRUE(refused);
        EXPECT_EQ(*refused, (ComputedChannelRefusal{c.messageId, resourceString(c.messageId),
                                                    ComputedChannelField::Equation, 0, c.caret}));
        EXPECT_EQ(definition.equation, c.equation) << "the field keeps the text as entered";
    }
    EXPECT_EQ(setup.channel(23), setupTemplate.defaultSetup.channel(23)) << "the working copy is untouched";
}

TEST_F(ComputedChannelRules, AnAverageNeedsAGroupAverageChannel) {
    for (const ChannelFunction function : {ChannelFunction::Average, ChannelFunction::ChanAMinusAverage}) {
        const auto refused = accept(21, function, {});
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->text, "Select at least one group average channel!");
        EXPECT_EQ(refused->focus, ComputedChannelField::GroupAverage);
        definition.channel.averageSet = channelBit(2);
        EXPECT_EQ(acceptComputedFunction(library, definition, '.'), std::nullopt);
    }
    EXPECT_EQ(definition.channel.unitsLabel, "DiffAvg");
    EXPECT_EQ(accept(21, ChannelFunction::ChanAMinusChanB, {}), std::nullopt) << "nothing to check";
}

// A computed channel reads only channels numbered below it; the other
// selected channels still take the definition.
TEST_F(ComputedChannelRules, ADefinitionReadingItsOwnOrAHigherChannelIsRefusedOnThatChannel) {
    struct Case {
        const char *what;
        ChannelFunction function;
        const char *equation;
        std::uint32_t averageSet;
        std::uint16_t channelA;
        std::uint16_t channelB;
        std::vector<int> selected;
        int refused; // the first refused channel, 0 for none
        std::vector<int> taken;
    };
    const Case cases[] = {
        {"C25*2 on 22", ChannelFunction::Equation, "C25*2", 0, 1, 1, {22}, 22, {}},
        {"an equation on its own channel", ChannelFunction::Equation, "C22+1", 0, 1, 1, {22}, 22, {}},
        {"average of 3 and 26 on 25", ChannelFunction::Average, "", channelBit(3) | channelBit(26), 1, 1, {25}, 25, {}},
        {"A - B with B above", ChannelFunction::ChanAMinusChanB, "", 0, 1, 24, {24, 25}, 24, {25}},
        {"A - average with A above", ChannelFunction::ChanAMinusAverage, "", channelBit(1), 27, 1, {26, 28}, 26, {28}},
        {"channel A of an equation is not read", ChannelFunction::Equation, "C1", 0, 29, 29, {22}, 0, {22}},
        {"several at once", ChannelFunction::Equation, "C23", 0, 1, 1, {21, 23, 24, 30}, 21, {24, 30}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        setup = setupTemplate.defaultSetup;
        definition = computedDefinitionOf(setup, c.selected.front());
        chooseComputedFunction(definition, c.function);
        definition.channel.averageSet = c.averageSet;
        definition.channel.channelA = c.channelA;
        definition.channel.channelB = c.channelB;
        definition.equation = c.equation;
        ASSERT_EQ(acceptComputedFunction(library, definition, '.'), std::nullopt);

        const auto refused = applyComputedDefinition(setup, definition, c.selected);
        if (c.refused == 0) {
            EXPECT_EQ(refused, std::nullopt);
        } else {
            ASSERT_TRUE(refused);
            EXPECT_EQ(refused->messageId, 1314);
            EXPECT_EQ(refused->text, "Computed channels must be calculated from lower numbered channels!");
            EXPECT_EQ(refused->channel, c.refused);
        }
        for (const int channel : c.selected) {
            const bool taken = std::find(c.taken.begin(), c.taken.end(), channel) != c.taken.end();
            EXPECT_EQ(setup.channel(channel).function, taken ? c.function : ChannelFunction::Off) << channel;
            EXPECT_EQ(setup.equation(channel), taken ? definition.equation : "") << channel;
        }
    }
}

TEST_F(ComputedChannelRules, ChannelsConfigurationWantsEveryChannelReadDefinedAndTheEquationsWithinTheBuffer) {
    defineEquation(21, "C1+C2");
    defineEquation(23, "C21*C3");
    setup.channel(2).function = ChannelFunction::Off;
    EXPECT_EQ(acceptChannelsConfiguration(setup, kBcn, setupTemplate.offChannel),
              (ComputedChannelRefusal{1315, "Channel 1202 must be defined for calculation of computed channel 1221!",
                                      ComputedChannelField::ComputedChannels, 21, -1}));

    setup.channel(2).function = ChannelFunction::Vdc;
    setup.channel(24).function = ChannelFunction::ChanAMinusChanB;
    setup.channel(24).channelA = 3;
    setup.channel(24).channelB = 22;
    EXPECT_EQ(acceptChannelsConfiguration(setup, kBcn, setupTemplate.offChannel)->text,
              "Channel 1222 must be defined for calculation of computed channel 1224!");
    setup.channel(24).function = ChannelFunction::Off;

    // 1000 bytes of byte code fit the instrument; one more does not.
    setup.channel(21).compiledSize = 600;
    setup.channel(23).compiledSize = 400;
    EXPECT_EQ(acceptChannelsConfiguration(setup, kBcn, setupTemplate.offChannel), std::nullopt);
    defineEquation(25, "C1");
    EXPECT_EQ(
        acceptChannelsConfiguration(setup, kBcn, setupTemplate.offChannel),
        (ComputedChannelRefusal{1324, "Computed channel 1225: Instrument equation buffer size limits will be exceeded!",
                                ComputedChannelField::ComputedChannels, 25, -1}));
}

TEST_F(ComputedChannelRules, AnAcceptedChannelsConfigurationResetsTheOffChannelsButNotTheirEquations) {
    defineEquation(22, "C1");
    setup.channel(22).function = ChannelFunction::Off;
    setup.channel(22).label = "Spare";
    setup.channel(7).label = "Pump";
    ASSERT_EQ(acceptChannelsConfiguration(setup, kBcn, setupTemplate.offChannel), std::nullopt);
    EXPECT_EQ(setup.channel(22), setupTemplate.offChannel);
    EXPECT_EQ(setup.channel(7), setupTemplate.offChannel);
    EXPECT_EQ(setup.equation(22), "C1");
    EXPECT_EQ(setup.channel(1), setupTemplate.defaultSetup.channel(1));
}

} // namespace

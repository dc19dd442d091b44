// Current channels become voltage measurements across their shunt on the
// way to the instrument, and currents again on the way back.
#include "config_validation.h"
#include "current_conversion.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>

namespace {

using namespace kvlink;

ChannelConfig &current(InstrumentConfig &config, int number, int32_t range, float shunt, float m, float b) {
    ChannelConfig &channel = config.channels[number - 1];
    channel.function = FunctionCurrent;
    channel.range = range;
    channel.r0 = shunt;
    channel.m = m;
    channel.b = b;
    return channel;
}

TEST(CurrentConversionTest, FourToTwentyMilliampsWith250OhmShunt) {
    InstrumentConfig config{};
    current(config, 1, KVX_RANGE_CURRENT_4_20MA, 250.0f, 2.0f, 1.0f);
    ASSERT_EQ(convertCurrentChannels(config), 0);

    const ChannelConfig &sent = config.channels[0];
    EXPECT_EQ(sent.function, FunctionCurrent);
    EXPECT_EQ(sent.range, 9232);
    EXPECT_EQ(sent.aux, KVX_RANGE_CURRENT_4_20MA);
    EXPECT_EQ(sent.m, 50.0f);  // 25 M
    EXPECT_EQ(sent.b, -49.0f); // B - 25 M

    restoreCurrentChannels(config);
    const ChannelConfig &read = config.channels[0];
    EXPECT_EQ(read.range, KVX_RANGE_CURRENT_4_20MA);
    EXPECT_EQ(read.m, 2.0f);
    EXPECT_EQ(read.b, 1.0f);
}

TEST(CurrentConversionTest, FourToTwentyMilliampsPicksTheRangeOfTheShuntVoltage) {
    struct Shunt {
        float ohms;
        int32_t range;
    };
    const Shunt cases[] = {{10.0f, 8450},  {15.0f, 8450},  {20.0f, 8708}, {37.5f, 8708},
                           {100.0f, 8968}, {150.0f, 8968}, {151.0f, 9232}};
    for (const Shunt &c : cases) {
        SCOPED_TRACE(c.ohms);
        InstrumentConfig config{};
        current(config, 20, KVX_RANGE_CURRENT_4_20MA, c.ohms, 1.0f, 0.0f);
        ASSERT_EQ(convertCurrentChannels(config), 0);
        EXPECT_EQ(config.channels[19].range, c.range);
        EXPECT_FLOAT_EQ(config.channels[19].m, static_cast<float>(6250.0 / c.ohms));
    }
}

TEST(CurrentConversionTest, ZeroToHundredMilliamps) {
    InstrumentConfig config{};
    current(config, 3, KVX_RANGE_CURRENT_0_100MA, 100.0f, 5.0f, 7.0f);
    current(config, 4, KVX_RANGE_CURRENT_0_100MA, 100.0f, 0.0f, 7.0f);
    ASSERT_EQ(convertCurrentChannels(config), 0);
    EXPECT_EQ(config.channels[2].range, 9504);
    EXPECT_EQ(config.channels[2].aux, KVX_RANGE_CURRENT_0_100MA);
    EXPECT_FLOAT_EQ(config.channels[2].m, 0.05f);
    EXPECT_EQ(config.channels[2].b, 7.0f);
    EXPECT_EQ(config.channels[3].m, 0.0f);

    restoreCurrentChannels(config);
    EXPECT_EQ(config.channels[2].range, KVX_RANGE_CURRENT_0_100MA);
    EXPECT_FLOAT_EQ(config.channels[2].m, 5.0f);
    EXPECT_EQ(config.channels[2].b, 7.0f);
}

TEST(CurrentConversionTest, ScalingOutsideTheFloatRangeIsRefusedWithTheChannelIndex) {
    InstrumentConfig overflow{};
    current(overflow, 5, KVX_RANGE_CURRENT_4_20MA, 10.0f, 3.0e38f, 0.0f);
    EXPECT_EQ(convertCurrentChannels(overflow), detailCode(DetailCurrentOverflow, 4));

    InstrumentConfig offsetOverflow{};
    current(offsetOverflow, 5, KVX_RANGE_CURRENT_4_20MA, 250.0f, 1.0e37f, -FLT_MAX);
    EXPECT_EQ(convertCurrentChannels(offsetOverflow), detailCode(DetailCurrentOverflow, 4));

    InstrumentConfig underflow{};
    current(underflow, 9, KVX_RANGE_CURRENT_0_100MA, 250.0f, 1.0e-37f, 0.0f);
    EXPECT_EQ(convertCurrentChannels(underflow), detailCode(DetailCurrentUnderflow, 8));
}

TEST(CurrentConversionTest, OtherChannelsAreLeftAlone) {
    InstrumentConfig config{};
    config.channels[0].function = FunctionVdc;
    config.channels[0].range = 9232;
    config.channels[0].m = 3.0f;
    config.channels[20].function = FunctionCurrent; // computed channels are never converted
    config.channels[20].range = KVX_RANGE_CURRENT_4_20MA;
    const InstrumentConfig before = config;
    ASSERT_EQ(convertCurrentChannels(config), 0);
    restoreCurrentChannels(config);
    EXPECT_EQ(std::memcmp(&before, &config, sizeof config), 0);
}

} // namespace

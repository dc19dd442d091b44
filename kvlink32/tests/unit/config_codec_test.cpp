// The configuration block on the wire: exact bytes of the fixed fields and
// of the equation tokens, the area's edges, and the round trip.
#include "config_codec.h"
#include "config_validation.h"
#include "equation_compiler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace kvlink;
using Bytes = std::vector<uint8_t>;

constexpr size_t kChannelsAt = 52;
constexpr size_t kEquationsAt = kConfigPayloadType1;

Bytes encode(const InstrumentConfig &config, bool withEquations) {
    Bytes payload(kConfigPayloadType2 + 8, 0xEE);
    MessageWriter out(payload.data(), payload.size(), 0);
    EXPECT_TRUE(encodeConfig(out, config, withEquations));
    payload.resize(out.offset());
    return payload;
}

Bytes slice(const Bytes &payload, size_t at, size_t size) {
    return Bytes(payload.begin() + at, payload.begin() + at + size);
}

TEST(ConfigCodecTest, FixedFieldsTravelInNetworkOrder) {
    InstrumentConfig config{};
    config.options = 0x00000A41;
    config.interval1[3] = 1000;
    config.alarmCheckInterval[3] = -2;
    ChannelConfig &vdc = config.channels[0];
    vdc.function = FunctionVdc;
    vdc.range = 9232;
    vdc.m = 1.0f;
    vdc.b = -2.5f;
    ChannelConfig &rtd = config.channels[1];
    rtd.function = FunctionRtd;
    rtd.range = KVX_RANGE_RTD_CUSTOM_385;
    rtd.alphaFloat = 0.00385f; // 0x3B7C5048
    rtd.r0 = 100.0f;
    config.channels[21].function = FunctionDifference;
    config.channels[21].alpha = 5;

    const Bytes payload = encode(config, false);
    ASSERT_EQ(payload.size(), 1492u);
    EXPECT_EQ(slice(payload, 0, 4), (Bytes{0x00, 0x00, 0x0A, 0x41}));
    EXPECT_EQ(slice(payload, 16, 4), (Bytes{0x00, 0x00, 0x03, 0xE8}));
    EXPECT_EQ(slice(payload, 48, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(slice(payload, kChannelsAt, 8), (Bytes{0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x24, 0x10}));
    EXPECT_EQ(slice(payload, kChannelsAt + 40, 8), (Bytes{0x3F, 0x80, 0x00, 0x00, 0xC0, 0x20, 0x00, 0x00}));
    EXPECT_EQ(slice(payload, kChannelsAt + 48 + 8, 8), (Bytes{0x3B, 0x7C, 0x50, 0x48, 0x42, 0xC8, 0x00, 0x00}));
    EXPECT_EQ(slice(payload, kChannelsAt + 21 * 48 + 8, 4), (Bytes{0x00, 0x00, 0x00, 0x05}));
}

TEST(ConfigCodecTest, EquationTokensCarryNetworkOrderOperands) {
    InstrumentConfig config{};
    ASSERT_EQ(compileEquation("C2+1.5", config.equations).error, EquationOk);
    config.equations[20] = 0x03; // reserved and unknown codes travel as single bytes
    config.equations[21] = 0x11;

    const Bytes payload = encode(config, true);
    ASSERT_EQ(payload.size(), 2492u);
    EXPECT_EQ(slice(payload, kEquationsAt, 10), (Bytes{0x01, 0x00, 0x02, 0x02, 0x3F, 0xC0, 0x00, 0x00, 0x06, 0x00}));
    EXPECT_EQ(slice(payload, kEquationsAt + 20, 3), (Bytes{0x03, 0x11, 0x00}));
}

TEST(ConfigCodecTest, TokensCutOffByTheAreaEndTravelUnchanged) {
    InstrumentConfig config{};
    uint8_t *area = config.equations;
    area[985] = TokenChannel; // channel 1 at 985..987
    area[986] = 1;
    area[990] = TokenConstant; // constant 1.0f at 990..994 - whole
    std::memcpy(area + 991, "\x00\x00\x80\x3F", 4);
    area[995] = TokenConstant; // the last constant that fits: 995..999
    std::memcpy(area + 996, "\x00\x00\x20\x41", 4);

    Bytes payload = encode(config, true);
    EXPECT_EQ(slice(payload, kEquationsAt + 985, 3), (Bytes{0x01, 0x00, 0x01}));
    EXPECT_EQ(slice(payload, kEquationsAt + 990, 10),
              (Bytes{0x02, 0x3F, 0x80, 0x00, 0x00, 0x02, 0x41, 0x20, 0x00, 0x00}));

    InstrumentConfig cut{};
    cut.equations[996] = TokenConstant; // only three bytes after it
    cut.equations[997] = 0xAA;
    cut.equations[998] = TokenChannel; // only one byte after it
    cut.equations[999] = 0xBB;
    payload = encode(cut, true);
    EXPECT_EQ(slice(payload, kEquationsAt + 996, 4), (Bytes{0x02, 0xAA, 0x01, 0xBB}));
}

TEST(ConfigCodecTest, DecodingMirrorsEncoding) {
    InstrumentConfig config{};
    config.options = 0x841;
    config.interval2[1] = 59;
    for (int i = 0; i < KVX_MAX_CHANNELS; ++i) {
        ChannelConfig &channel = config.channels[i];
        channel.function = i < 20 ? FunctionRtd : FunctionEquation;
        channel.range = i % 2 == 0 ? KVX_RANGE_RTD_CUSTOM_385 : 20512;
        channel.alpha = 0x3B7C5048 + i;
        channel.r0 = 100.0f + static_cast<float>(i);
        channel.aux = 0x9001;
        channel.alarms = 21;
        channel.limit1 = -1.0f;
        channel.limit2 = 1e30f;
        channel.output1 = 4;
        channel.output2 = 128;
        channel.m = 0.5f;
        channel.b = -0.25f;
    }
    ASSERT_EQ(compileEquation("SQR(C1*C1+C2*C2)", config.equations).error, EquationOk);
    ASSERT_EQ(compileEquation("-C3**2.5", config.equations + 500).error, EquationOk);
    config.equations[995] = TokenConstant;
    config.equations[998] = TokenChannel;
    config.equations[999] = 7;

    const Bytes payload = encode(config, true);
    InstrumentConfig decoded{};
    MessageReader in(payload.data(), payload.size(), 0);
    ASSERT_TRUE(decodeConfig(in, decoded, true));
    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_EQ(std::memcmp(&decoded, &config, sizeof config), 0);

    // Without the area the decoder leaves it as it was.
    const Bytes type1 = encode(config, false);
    InstrumentConfig withoutArea{};
    std::memset(withoutArea.equations, 0x5A, sizeof withoutArea.equations);
    MessageReader in1(type1.data(), type1.size(), 0);
    ASSERT_TRUE(decodeConfig(in1, withoutArea, false));
    EXPECT_EQ(std::memcmp(&withoutArea, &config, kConfigPayloadType1), 0);
    EXPECT_EQ(withoutArea.equations[0], 0x5A);
    EXPECT_EQ(withoutArea.equations[999], 0x5A);
}

TEST(ConfigCodecTest, ShortBuffersAreRefused) {
    const InstrumentConfig config{};
    Bytes small(kConfigPayloadType2 - 1);
    MessageWriter out(small.data(), small.size(), 0);
    EXPECT_FALSE(encodeConfig(out, config, true));

    const Bytes payload = encode(config, true);
    InstrumentConfig decoded{};
    MessageReader shortType2(payload.data(), payload.size() - 1, 0);
    EXPECT_FALSE(decodeConfig(shortType2, decoded, true));
    MessageReader shortType1(payload.data(), kConfigPayloadType1 - 1, 0);
    EXPECT_FALSE(decodeConfig(shortType1, decoded, false));
}

} // namespace

// kvxConfigSet / kvxConfigGet and the temperature services against the
// simulator: what the instrument stores, what comes back, and what is
// refused before anything is sent.
#include "raw_connection.h"
#include "simulated_library.h"

#include <cstring>

namespace {

constexpr int32_t kFunctionVdc = 2;
constexpr int32_t kFunctionRtd = 16;
constexpr int32_t kFunctionCurrent = 65538;
constexpr int32_t kFunctionDifference = 32770;
constexpr int32_t kFunctionEquation = 32772;
constexpr uint32_t kIntervalTrigger = 1u << 6;

// Channel 1 VDC, channel 2 a Custom-385 RTD, channel 3 4-20 mA across
// 250 ohms, channel 21 the equation (C1+C2)/2.
InstrumentConfig sampleConfig() {
    InstrumentConfig config{};
    config.options = kIntervalTrigger;
    config.interval1[2] = 1;
    ChannelConfig &vdc = config.channels[0];
    vdc.function = kFunctionVdc;
    vdc.range = 9232;
    vdc.m = 1.0f;
    ChannelConfig &rtd = config.channels[1];
    rtd.function = kFunctionRtd;
    rtd.range = 20513;
    rtd.alphaFloat = 0.00385f;
    rtd.r0 = 100.0f;
    rtd.aux = 0x9001;
    rtd.m = 1.0f;
    ChannelConfig &current = config.channels[2];
    current.function = kFunctionCurrent;
    current.range = KVX_RANGE_CURRENT_4_20MA;
    current.r0 = 250.0f;
    current.m = 2.0f;
    current.b = 1.0f;
    int32_t mask = 0;
    int32_t length = 0;
    int32_t position = 0;
    int32_t error = 0;
    EXPECT_EQ(kvxParseExpr("(C1+C2)/2", config.equations, &mask, &length, &position, &error), KVX_OK);
    config.channels[20].function = kFunctionEquation;
    config.channels[20].m = 1.0f;
    return config;
}

bool sameBlock(const InstrumentConfig &a, const InstrumentConfig &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class ConfigExports : public SimulatedLibrary {
protected:
    void SetUp() override {
        SimulatedLibrary::SetUp();
        startGeneral({{1}, {2, KVX_MODEL_M200A}});
        ASSERT_EQ(kvxCommOpen(1), KVX_OK);
        ASSERT_EQ(kvxCommOpen(2), KVX_OK);
    }

    // The block as the simulated instrument stored it.
    InstrumentConfig stored(int bcn) {
        const std::string reply = sim->control("config " + std::to_string(bcn));
        const kvtest::Bytes bytes = kvtest::fromHex(reply.substr(3));
        InstrumentConfig config{};
        EXPECT_EQ(bytes.size(), sizeof config) << reply;
        if (bytes.size() == sizeof config) std::memcpy(&config, bytes.data(), sizeof config);
        return config;
    }
};

TEST_F(ConfigExports, CurrentChannelTravelsAsVoltageAndReadsBackAsCurrent) {
    const InstrumentConfig config = sampleConfig();
    const InstrumentConfig before = config;
    int32_t detail = -1;
    ASSERT_EQ(kvxConfigSet(1, 2, &config, &detail), KVX_OK);
    EXPECT_EQ(detail, 0);
    EXPECT_TRUE(sameBlock(config, before)) << "the caller's block is not changed";

    const InstrumentConfig atInstrument = stored(1);
    const ChannelConfig &current = atInstrument.channels[2];
    EXPECT_EQ(current.function, kFunctionCurrent);
    EXPECT_EQ(current.range, 9232);
    EXPECT_EQ(current.aux, KVX_RANGE_CURRENT_4_20MA);
    EXPECT_EQ(current.m, 50.0f);
    EXPECT_EQ(current.b, -49.0f);
    EXPECT_EQ(atInstrument.channels[1].alphaFloat, 0.00385f);
    EXPECT_EQ(std::memcmp(atInstrument.equations, config.equations, KVX_EQUATION_AREA), 0);

    InstrumentConfig readBack{};
    ASSERT_EQ(kvxConfigGet(1, 2, &readBack), KVX_OK);
    InstrumentConfig expected = before;
    expected.channels[2].aux = KVX_RANGE_CURRENT_4_20MA; // the current range stays where the instrument keeps it
    EXPECT_TRUE(sameBlock(readBack, expected));
}

TEST_F(ConfigExports, TypeTwoRequestCarriesTheEquationTokensInNetworkOrder) {
    const InstrumentConfig config = sampleConfig();
    int32_t detail = 0;
    ASSERT_EQ(kvxConfigSet(1, 2, &config, &detail), KVX_OK);
    const std::vector<std::string> requests = sim->requests(1);
    ASSERT_EQ(requests.size(), 2u);
    const std::string &request = requests[1];
    EXPECT_EQ(request.substr(16, 16), "00000081"
                                      "000009cc"); // command 129, 16 + 2492 bytes
    constexpr size_t kEquationsAt = 2 * (16 + 1492);
    // channel 1, channel 2, add, constant 2.0, divide, end
    EXPECT_EQ(request.substr(kEquationsAt, 28), "010001"
                                                "010002"
                                                "06"
                                                "0240000000"
                                                "08"
                                                "00");
}

TEST_F(ConfigExports, TypeOneLeavesTheEquationAreaBehind) {
    InstrumentConfig config = sampleConfig();
    config.channels[20] = ChannelConfig{}; // the equation channel needs the area
    int32_t detail = 0;
    ASSERT_EQ(kvxConfigSet(1, 1, &config, &detail), KVX_OK);
    EXPECT_EQ(sim->requests(1).back().substr(16, 16), "0000006c"
                                                      "000005e4"); // command 108, 16 + 1492

    InstrumentConfig readBack;
    std::memset(&readBack, 0x5A, sizeof readBack);
    ASSERT_EQ(kvxConfigGet(1, 1, &readBack), KVX_OK);
    EXPECT_EQ(commandsReceived(1).back(), 107);
    config.channels[2].aux = KVX_RANGE_CURRENT_4_20MA;
    EXPECT_EQ(std::memcmp(&readBack, &config, sizeof config - KVX_EQUATION_AREA), 0);
    for (uint8_t byte : readBack.equations) ASSERT_EQ(byte, 0);
}

TEST_F(ConfigExports, RefusedBlocksAreNeverSent) {
    InstrumentConfig config = sampleConfig();
    config.channels[21].function = kFunctionDifference;
    config.channels[21].alpha = 22;
    config.channels[21].aux = 1;
    int32_t detail = 0;
    EXPECT_EQ(kvxConfigSet(1, 2, &config, &detail), KVX_E_BAD_CONFIG);
    EXPECT_EQ(detail, 7 | (22 << 24));
    // Validation comes before the type check.
    EXPECT_EQ(kvxConfigSet(1, 3, &config, &detail), KVX_E_BAD_CONFIG);

    const InstrumentConfig valid = sampleConfig();
    detail = -1;
    EXPECT_EQ(kvxConfigSet(1, 3, &valid, &detail), KVX_E_BAD_MODEL_TYPE);
    EXPECT_EQ(detail, 0);
    EXPECT_EQ(commandsReceived(1), (std::vector<int>{0}));
}

TEST_F(ConfigExports, ValidationFollowsTheModelOfTheSession) {
    InstrumentConfig config = sampleConfig();
    config.channels[1].aux = 0x9000; // a two-wire RTD
    int32_t detail = 0;
    EXPECT_EQ(kvxConfigSet(1, 2, &config, &detail), KVX_OK);
    EXPECT_EQ(kvxConfigSet(2, 2, &config, &detail), KVX_E_BAD_CONFIG);
    EXPECT_EQ(detail, 27 | (2 << 24));
}

TEST_F(ConfigExports, FailedReadsLeaveTheCallersBlockAlone) {
    InstrumentConfig block;
    std::memset(&block, 0x5A, sizeof block);
    const InstrumentConfig before = block;
    EXPECT_EQ(kvxConfigGet(1, 0, &block), KVX_E_BAD_MODEL_TYPE);
    control("error 1 -3 128 1");
    EXPECT_EQ(kvxConfigGet(1, 2, &block), KVX_INST_BUSY);
    EXPECT_EQ(kvxConfigGet(3, 2, &block), KVX_E_NOT_OPEN);
    EXPECT_EQ(kvxConfigGet(0, 2, &block), KVX_E_BAD_BCN);
    EXPECT_TRUE(sameBlock(block, before));
}

TEST_F(ConfigExports, TemperatureServicesCarryTheirArgumentsInOrder) {
    float result = 0.0f;
    ASSERT_EQ(kvxTempBlock(1, &result), KVX_OK);
    EXPECT_EQ(result, 25.0f);
    ASSERT_EQ(kvxTempLin(1, 3, 2.0f, 4.0f, &result), KVX_OK);
    EXPECT_EQ(result, 11.0f); // the simulator answers a * b + i
    ASSERT_EQ(kvxTempRefAdj(1, 3, 2.5f, &result), KVX_OK);
    EXPECT_EQ(result, 5.5f); // a + i

    const std::vector<std::string> requests = sim->requests(1);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].substr(16), "00000078"
                                      "00000010");
    EXPECT_EQ(requests[2].substr(16), "00000079"
                                      "0000001c"
                                      "00000003"
                                      "40000000"
                                      "40800000");
    EXPECT_EQ(requests[3].substr(16), "0000007a"
                                      "00000018"
                                      "00000003"
                                      "40200000");

    control("error 1 -3 120 1");
    result = 7.0f;
    EXPECT_EQ(kvxTempBlock(1, &result), KVX_INST_BUSY);
    EXPECT_EQ(result, 7.0f);
}

} // namespace

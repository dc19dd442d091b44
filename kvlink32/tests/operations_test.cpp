// The instrument operations over a real connection: what each one sends,
// what it makes of the reply, and the arguments it refuses before sending.
#include "simulated_library.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

class Operations : public SimulatedLibrary {
protected:
    void SetUp() override {
        SimulatedLibrary::SetUp();
        startGeneral({{1, KVX_MODEL_M100A}, {12, KVX_MODEL_M200A}});
        ASSERT_EQ(kvxCommOpen(1), KVX_OK);
        ASSERT_EQ(kvxCommOpen2(1), KVX_OK);
    }

    size_t requestCount(int bcn) { return sim->requests(bcn).size(); }
    std::string lastRequest(int bcn) { return sim->requests(bcn).back(); }
};

TEST_F(Operations, IdentityOfTheInstrument) {
    int32_t model = -1;
    char text[40];
    ASSERT_EQ(kvxModel(1, &model, text), KVX_OK);
    EXPECT_EQ(model, KVX_MODEL_M100A);
    EXPECT_STREQ(text, "M100A");
    EXPECT_EQ(kvxModelCheck(1), KVX_OK);

    control("model 1 M200A");
    ASSERT_EQ(kvxModel(1, &model, text), KVX_OK);
    EXPECT_EQ(model, KVX_MODEL_M200A);
    EXPECT_EQ(kvxModelCheck(1), KVX_E_MODEL_MISMATCH) << "ccf.cfg records an M100A";

    control("model 1 X100A");
    model = -1;
    EXPECT_EQ(kvxModel(1, &model, text), KVX_E_UNRECOGNISED_MODEL);
    EXPECT_EQ(model, -1);
    EXPECT_EQ(kvxModelCheck(1), KVX_E_UNRECOGNISED_MODEL);

    int32_t reported = 0;
    ASSERT_EQ(kvxInstBCN(1, &reported), KVX_OK);
    EXPECT_EQ(reported, 1);
    control("report-bcn 1 33");
    ASSERT_EQ(kvxInstBCN(1, &reported), KVX_OK);
    EXPECT_EQ(reported, 33);
}

TEST_F(Operations, LongModelTextIsTerminatedWithinItsArea) {
    control("model 1 M100A-with-a-very-long-description-beyond-forty-bytes");
    int32_t model = -1;
    char text[41];
    std::memset(text, 'z', sizeof text);
    ASSERT_EQ(kvxModel(1, &model, text), KVX_OK);
    EXPECT_EQ(text[39], '\0');
    EXPECT_EQ(text[40], 'z') << "nothing written past the 40-byte area";
}

TEST_F(Operations, CompatibilityTextAndOlderSoftware) {
    char text[9];
    std::memset(text, 'z', sizeof text);
    control("compat 1 V 1.5");
    ASSERT_EQ(kvxLoggerCompatibility(1, text), KVX_OK);
    EXPECT_STREQ(text, "V 1.5");
    control("compat 1 ABCDEFGHIJK");
    ASSERT_EQ(kvxLoggerCompatibility(1, text), KVX_OK);
    EXPECT_EQ(std::strlen(text), 7u) << "at most 8 bytes with the terminator";
    EXPECT_EQ(text[8], 'z');
    control("compat 1 old");
    EXPECT_EQ(kvxLoggerCompatibility(1, text), KVX_INST_OLD_SOFTWARE);
}

TEST_F(Operations, StatusSelfTestAndInternalErrorWords) {
    control("status 1 0x01000104");
    control("selftest 1 0x10001");
    control("ierror 1 -5");
    uint32_t word = 0;
    ASSERT_EQ(kvxInstStatus2(1, &word), KVX_OK);
    EXPECT_EQ(word, 0x01000104u);
    ASSERT_EQ(kvxSelftestBegin(1), KVX_OK);
    ASSERT_EQ(kvxSelftestResult(1, &word), KVX_OK);
    EXPECT_EQ(word, 0x10001u);
    int32_t error = 0;
    ASSERT_EQ(kvxIError(1, &error), KVX_OK);
    EXPECT_EQ(error, -5);
    EXPECT_EQ(kvxReset(1), KVX_OK);
}

TEST_F(Operations, BusyWaitPollsUntilTheBusyBitsClear) {
    control("status 1 0x02000400");
    uint32_t seen = 0;
    EXPECT_EQ(kvxBusyWait(1, 150, &seen), 0) << "still busy when the longest wait ends";
    EXPECT_EQ(seen, 0x02000400u);
    const size_t polls = requestCount(1);
    EXPECT_GE(polls, 3u) << "polled every 45 ms";

    control("status 1 0x00000400");
    EXPECT_EQ(kvxBusyWait(1, 2000, &seen), KVX_OK);
    EXPECT_EQ(seen, 0x400u);
}

TEST_F(Operations, InstrumentClockRoundTrip) {
    ASSERT_EQ(kvxTimeSet(1), KVX_OK);
    const std::string request = lastRequest(1);
    EXPECT_EQ(request.size(), 2u * (16 + 8 + 4)) << "time block and milliseconds";
    InstrumentTime time{};
    int32_t milliseconds = -1;
    ASSERT_EQ(kvxTimeGet(1, &time, &milliseconds), KVX_OK);
    EXPECT_GE(time.month, 1);
    EXPECT_LE(time.month, 12);
    EXPECT_GE(milliseconds, 0);
    EXPECT_LE(milliseconds, 999);
}

TEST_F(Operations, ScanControlSendsItsArguments) {
    ASSERT_EQ(kvxScansEnable(1, 1), KVX_OK);
    EXPECT_EQ(lastRequest(1).substr(32), "00000000"
                                         "0000000000000000"
                                         "00000000")
        << "start now, time fields zero";
    const InstrumentTime at{13, 14, 15, 12, 0, 31, 98, 0}; // far ahead of the instrument's clock
    ASSERT_EQ(kvxScansEnableAt(1, &at, 250), KVX_OK);
    EXPECT_EQ(lastRequest(1).substr(32), "00000001"
                                         "0d0e0f0c001f6200"
                                         "000000fa");
    ASSERT_EQ(kvxScansEnable(1, 0), KVX_OK);
    EXPECT_EQ(commandOf(lastRequest(1)), 104);
    ASSERT_EQ(kvxScansTriggerScan(1), KVX_OK);
    EXPECT_EQ(lastRequest(1).substr(16), "00000066"
                                         "00000014"
                                         "00000001");
    ASSERT_EQ(kvxScansClear(1, 3), KVX_OK);
    EXPECT_EQ(lastRequest(1).substr(16), "0000007b"
                                         "00000014"
                                         "00000003");
}

TEST_F(Operations, ScansArriveInTheCallersBufferInOrder) {
    std::vector<uint8_t> buffer(KVX_SCAN_BUFFER_HEADER + 100 * KVX_MAX_SCAN_RECORD, 0xEE);
    const size_t before = requestCount(1);
    EXPECT_EQ(kvxScansGet(1, 101, buffer.data()), KVX_E_BAD_COUNT);
    EXPECT_EQ(requestCount(1), before) << "refused without an exchange";

    control("push 1 5 channels 3");
    int32_t queued = 0;
    ASSERT_EQ(kvxScansCount(1, &queued), KVX_OK);
    EXPECT_EQ(queued, 5);

    ASSERT_EQ(kvxScansGet(1, 3, buffer.data()), 3);
    ScanBufferHeader header;
    std::memcpy(&header, buffer.data(), sizeof header);
    EXPECT_EQ(header.recordSize, 40);
    EXPECT_EQ(header.count, 3);
    EXPECT_EQ(header.remaining & 0x7FFFFFFFu, 2u);
    for (int k = 0; k < 3; ++k) {
        float readings[3];
        std::memcpy(readings, buffer.data() + 12 + k * 40 + 28, sizeof readings);
        for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(readings[c], static_cast<float>(k + 1) + (c + 1) / 100.0f);
    }
    EXPECT_EQ(buffer[12 + 3 * 40], 0xEE) << "nothing beyond the records";

    ASSERT_EQ(kvxScansGetLast(1, buffer.data()), 1);
    ASSERT_EQ(kvxScansGet(1, 100, buffer.data()), 2);
    ASSERT_EQ(kvxScansGet(1, 100, buffer.data()), 0);
    std::memcpy(&header, buffer.data(), sizeof header);
    EXPECT_EQ(header.recordSize, 40) << "an empty block still names the record size";
    EXPECT_EQ(header.count, 0);
    EXPECT_EQ(header.remaining, 0u);
}

TEST_F(Operations, MalformedScanBlocksNeverReachTheCallersBuffer) {
    const std::string record32(64, '0'); // one 32-byte record
    const struct {
        const char *what;
        std::string block;
    } blocks[] = {
        {"record size below 28", "0000001b"
                                 "00000000"
                                 "00000000"},
        {"record size above 148", "00000098"
                                  "00000000"
                                  "00000000"},
        {"record size not 28 + 4k", "0000001e"
                                    "00000001"
                                    "00000000" +
                                        std::string(60, '0')},
        {"more records than asked", "00000020"
                                    "00000003"
                                    "00000000" +
                                        record32 + record32 + record32},
        {"negative count", "00000020"
                           "ffffffff"
                           "00000000"},
        {"fewer bytes than records", "00000020"
                                     "00000002"
                                     "00000000" +
                                         record32},
        {"more bytes than records", "00000020"
                                    "00000001"
                                    "00000000" +
                                        record32 + "00000000"},
    };
    for (const auto &b : blocks) {
        std::vector<uint8_t> buffer(KVX_SCAN_BUFFER_HEADER + 2 * 32, 0xEE);
        control("payload 1 " + b.block);
        EXPECT_EQ(kvxScansGet(1, 2, buffer.data()), KVX_E_MARSHAL) << b.what;
        EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xEE), static_cast<long>(buffer.size())) << b.what;
    }
    std::vector<uint8_t> buffer(KVX_SCAN_BUFFER_HEADER + 2 * KVX_MAX_SCAN_RECORD);
    EXPECT_EQ(kvxScansGet(1, 2, buffer.data()), 0) << "the connection carries on";
}

TEST_F(Operations, AttentionFlagTravelsInTheRemainingCount) {
    control("push 1 1 channels 1");
    control("attention 1 1");
    std::vector<uint8_t> buffer(KVX_SCAN_BUFFER_HEADER + KVX_MAX_SCAN_RECORD);
    ASSERT_EQ(kvxScansGet(1, 1, buffer.data()), 1);
    ScanBufferHeader header;
    std::memcpy(&header, buffer.data(), sizeof header);
    EXPECT_EQ(header.remaining, 0x80000000u);
}

TEST_F(Operations, LiveReadingsAndMonitorChannel) {
    ASSERT_EQ(kvxCommOpen(12), KVX_OK);
    float reading = -1.0f;
    EXPECT_EQ(kvxSpyGet(1231, &reading), KVX_E_BAD_CHANNEL);
    EXPECT_EQ(kvxSpyGet(1200, &reading), KVX_E_BAD_CHANNEL);
    EXPECT_EQ(kvxSpyGet(1205, &reading), 0) << "no reading while spy is off";
    EXPECT_EQ(reading, -1.0f);
    ASSERT_EQ(kvxSpyEnable(12, 1), KVX_OK);
    control("spy-value 12 5 2.5");
    ASSERT_EQ(kvxSpyGet(1205, &reading), KVX_OK);
    EXPECT_EQ(reading, 2.5f);

    EXPECT_EQ(kvxInstMonitor(1, 1, 31), KVX_E_BAD_CHANNEL);
    ASSERT_EQ(kvxInstMonitor(1, 1, 30), KVX_OK);
    ASSERT_EQ(kvxInstMonitor(1, 0, 99), KVX_OK) << "the channel is not looked at when clearing";
    EXPECT_EQ(commandOf(lastRequest(1)), 118);
}

TEST_F(Operations, DigitalLinesAndTotalizerOnBothConnections) {
    control("dio 1 0x5A");
    control("totalizer 1 1234");
    int32_t value = 0;
    ASSERT_EQ(kvxDIOGet(1, &value), KVX_OK);
    EXPECT_EQ(value, 0x5A);
    ASSERT_EQ(kvxDIOSet(1, 0x0F, 0x03), KVX_OK);
    EXPECT_EQ(lastRequest(1).substr(16), "0000006e"
                                         "00000018"
                                         "0000000f"
                                         "00000003");
    ASSERT_EQ(kvxDIOSet2(1, 0xF0, 0x00), KVX_OK);
    EXPECT_EQ(commandOf(lastRequest(1)), 205);
    ASSERT_EQ(kvxTotalizerGet(1, &value), KVX_OK);
    EXPECT_EQ(value, 1234);
    ASSERT_EQ(kvxTotalizerClear(1), KVX_OK);
    ASSERT_EQ(kvxTotalizerClear2(1), KVX_OK);
    ASSERT_EQ(kvxTotalizerGet(1, &value), KVX_OK);
    EXPECT_EQ(value, 0);
}

TEST_F(Operations, PassThroughCarriesDataBothWays) {
    EXPECT_EQ(kvxPassThruEnable2(1, 3), KVX_E_BAD_PORT_TYPE);
    EXPECT_EQ(kvxPassThruEnable2(1, 256), KVX_E_BAD_PORT_TYPE);
    ASSERT_EQ(kvxPassThruEnable2(1, 8), KVX_OK);
    const char message[] = "0123456789";
    EXPECT_EQ(kvxPassThruSend2(1, message, 2001), KVX_E_TOO_LONG);
    ASSERT_EQ(kvxPassThruSend2(1, message, 10), KVX_OK);
    EXPECT_EQ(lastRequest(1).size(), 2u * (16 + 4 + 2000)) << "the data area always travels whole";

    char received[16];
    std::memset(received, 'z', sizeof received);
    EXPECT_EQ(kvxPassThruRecv2(1, received, 2001), KVX_E_TOO_LONG);
    ASSERT_EQ(kvxPassThruRecv2(1, received, 4), 4) << "never more than asked for";
    EXPECT_EQ(std::string(received, 5), "0123z");

    int32_t first = 0, second = 0;
    ASSERT_EQ(kvxPassThruStatus2(1, &first, &second), KVX_OK);
    ASSERT_EQ(kvxPassThruDisable2(1), KVX_OK);
    EXPECT_EQ(kvxPassThruEnable2(12, 1), KVX_E_NOT_OPEN) << "needs the pass-through connection";
}

} // namespace

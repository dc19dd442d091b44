// One request, one reply: the bytes on the wire, replies assembled from
// pieces, replies to other requests skipped, error replies, time-outs and
// the reconnect that follows them.
#include "simulated_library.h"

#include <chrono>

namespace {

class Exchange : public SimulatedLibrary {
protected:
    void SetUp() override {
        SimulatedLibrary::SetUp();
        startGeneral({{1}});
        ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    }

    int32_t status(uint32_t &word) { return kvxInstStatus(1, &word); }
};

TEST_F(Exchange, GreetingAndStatusRequestAreTheExactBytes) {
    control("status 1 256");
    uint32_t word = 0;
    ASSERT_EQ(status(word), KVX_OK);
    EXPECT_EQ(word, 256u);

    const auto requests = sim->requests(1);
    ASSERT_EQ(requests.size(), 2u);
    // The first request of the library's life carries sequence 2.
    EXPECT_EQ(requests[0], "4b564558"
                           "00000002"
                           "00000000"
                           "00000010");
    EXPECT_EQ(requests[1], "4b564558"
                           "00000003"
                           "00000002"
                           "00000010");
}

TEST_F(Exchange, ReplyArrivingByteByByteIsAssembled) {
    control("status 1 305419896");
    control("bytewise 1");
    uint32_t word = 0;
    ASSERT_EQ(status(word), KVX_OK);
    EXPECT_EQ(word, 0x12345678u);
}

TEST_F(Exchange, RepliesToOtherRequestsAreSkipped) {
    control("status 1 7");
    control("foreign 1 2");
    uint32_t word = 0;
    ASSERT_EQ(status(word), KVX_OK);
    EXPECT_EQ(word, 7u);
    ASSERT_EQ(status(word), KVX_OK);
    EXPECT_EQ(word, 7u);
}

TEST_F(Exchange, ErrorReplyCodeIsTheResultAndLeavesTheConnectionUp) {
    control("error 1 -3 2 1");
    uint32_t word = 99;
    EXPECT_EQ(status(word), KVX_INST_BUSY);
    EXPECT_EQ(word, 99u) << "no output on failure";
    EXPECT_EQ(status(word), KVX_OK);
    EXPECT_EQ(commandsReceived(1), (std::vector<int>{0, 2, 2})) << "no reconnect after an error reply";
}

TEST_F(Exchange, SilentInstrumentTimesOutAndTheNextCallReconnects) {
    ASSERT_EQ(kvxTimeoutSet(1), KVX_OK);
    control("silent 1");
    uint32_t word = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(status(word), KVX_E_TIMEOUT);
    // The time-out counts whole seconds beyond the one the request began in,
    // so the call gives up no sooner than this; a loaded machine can only make
    // the wait longer, so only this side is checked.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));

    control("clear 1");
    control("forget 1");
    EXPECT_EQ(status(word), KVX_OK);
    EXPECT_EQ(commandsReceived(1), (std::vector<int>{0, 2})) << "greeting of the new connection, then the request";
}

TEST_F(Exchange, FailedReconnectReportsTimeOutAndTriesAgainLater) {
    ASSERT_EQ(kvxTimeoutSet(1), KVX_OK);
    control("silent 1");
    uint32_t word = 0;
    ASSERT_EQ(status(word), KVX_E_TIMEOUT);
    control("refuse 1");
    EXPECT_EQ(status(word), KVX_E_TIMEOUT) << "a refused reconnect is reported as a time-out";
    control("clear 1");
    control("accept 1");
    EXPECT_EQ(status(word), KVX_OK);
}

TEST_F(Exchange, ReplyWithImpossibleLengthIsRefusedAndTheConnectionRenewed) {
    for (const char *length : {"15", "15362", "4294967295"}) {
        control(std::string("bad-length 1 ") + length);
        uint32_t word = 0;
        EXPECT_EQ(status(word), KVX_E_MARSHAL) << length;
        EXPECT_EQ(status(word), KVX_OK) << "reconnected after " << length;
    }
}

TEST_F(Exchange, DroppedConnectionIsReportedDownAndRenewedOnTheNextCall) {
    control("close-after 1 1");
    uint32_t word = 0;
    EXPECT_EQ(status(word), KVX_E_CONN_DOWN);
    EXPECT_EQ(status(word), KVX_OK);
}

TEST_F(Exchange, LateReplyWithinTheTimeOutCompletesTheCall) {
    control("delay 1 300");
    uint32_t word = 1;
    EXPECT_EQ(status(word), KVX_OK);
    EXPECT_EQ(word, 0u);
}

// The caller's pump runs while a call waits; a call made from it is refused.
struct PumpProbe {
    int calls = 0;
    int32_t nestedResult = 0;
};

void pumpCallingTheLibrary(void *context) {
    auto &probe = *static_cast<PumpProbe *>(context);
    ++probe.calls;
    uint32_t word = 0;
    probe.nestedResult = kvxInstStatus(1, &word);
}

TEST_F(Exchange, CallFromInsideThePumpIsRefusedWithBusy) {
    kvxLibExit();
    PumpProbe probe;
    kvxMessagePumpSet(pumpCallingTheLibrary, &probe);
    ASSERT_EQ(kvxLibInit(1), KVX_OK);
    ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    control("delay 1 200");
    uint32_t word = 0;
    EXPECT_EQ(status(word), KVX_OK);
    EXPECT_GT(probe.calls, 0);
    EXPECT_EQ(probe.nestedResult, KVX_E_BUSY);
    kvxMessagePumpSet(nullptr, nullptr);
}

TEST_F(Exchange, PumpIsNotCalledWhenDispatchingIsOff) {
    PumpProbe probe;
    kvxMessagePumpSet(pumpCallingTheLibrary, &probe);
    control("delay 1 100");
    uint32_t word = 0;
    EXPECT_EQ(status(word), KVX_OK);
    EXPECT_EQ(probe.calls, 0);
    kvxMessagePumpSet(nullptr, nullptr);
}

} // namespace

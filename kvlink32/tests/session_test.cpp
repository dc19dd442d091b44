// Sessions: opening and closing the two connections of an instrument, the
// limits on them, and the network modes that say where an instrument is.
#include "simulated_library.h"

namespace {

using Sessions = SimulatedLibrary;

TEST_F(Sessions, OpenAndCloseSendGreetingAndCloseRequest) {
    startGeneral({{1}});
    ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    EXPECT_EQ(kvxCommClose(1), KVX_OK);
    EXPECT_EQ(commandsReceived(1), (std::vector<int>{0, 1}));
    uint32_t word = 0;
    EXPECT_EQ(kvxInstStatus(1, &word), KVX_E_NOT_OPEN);
}

TEST_F(Sessions, ArgumentAndStateChecks) {
    startGeneral({{1}});
    EXPECT_EQ(kvxCommOpen(0), KVX_E_BAD_BCN);
    EXPECT_EQ(kvxCommOpen(100), KVX_E_BAD_BCN);
    EXPECT_EQ(kvxCommOpen(2), KVX_E_BCN_NOT_CONFIGURED);
    uint32_t word = 0;
    EXPECT_EQ(kvxInstStatus(1, &word), KVX_E_NOT_OPEN);
    EXPECT_EQ(kvxCommClose(1), KVX_E_NOT_OPEN);
    ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    EXPECT_EQ(kvxCommOpen(1), KVX_E_ALREADY_OPEN);
    EXPECT_EQ(kvxInstStatus2(1, &word), KVX_E_NOT_OPEN) << "the pass-through connection is separate";
}

TEST_F(Sessions, TwentyOneInstrumentsCannotBeOpenAtOnce) {
    std::vector<SimulatedInstrument> instruments;
    for (int bcn = 1; bcn <= 21; ++bcn) instruments.push_back({bcn});
    startGeneral(instruments);
    for (int bcn = 1; bcn <= 20; ++bcn) ASSERT_EQ(kvxCommOpen(bcn), KVX_OK) << bcn;
    EXPECT_EQ(kvxCommOpen(21), KVX_E_TOO_MANY);
    ASSERT_EQ(kvxCommClose(20), KVX_OK);
    EXPECT_EQ(kvxCommOpen(21), KVX_OK);
}

TEST_F(Sessions, PassThroughSharesTheSessionOfTheMainConnection) {
    startGeneral({{1}});
    ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    ASSERT_EQ(kvxCommOpen2(1), KVX_OK);
    EXPECT_EQ(kvxCommOpen2(1), KVX_E_ALREADY_OPEN);
    ASSERT_EQ(kvxCommClose(1), KVX_OK);
    uint32_t word = 0;
    EXPECT_EQ(kvxInstStatus2(1, &word), KVX_OK) << "closing main leaves the pass-through connection";
    EXPECT_EQ(kvxInstStatus(1, &word), KVX_E_NOT_OPEN);
    EXPECT_EQ(sim->control("connections 1"), "ok main=0 passthru=1");
    ASSERT_EQ(kvxCommClose2(1), KVX_OK);
    EXPECT_EQ(kvxInstStatus2(1, &word), KVX_E_NOT_OPEN);
}

TEST_F(Sessions, PassThroughPortWrapsPastTheTopOfTheRange) {
    startGeneral({{1}}, 65534);
    ASSERT_EQ(kvxCommOpen2(1), KVX_OK) << "pass-through on port 1024";
    ASSERT_EQ(kvxCommOpen(1), KVX_OK) << "main on port 65534";
    EXPECT_EQ(sim->control("connections 1"), "ok main=1 passthru=1");
}

TEST_F(Sessions, IsolatedModeReachesPrefixAndBcnOnTheFixedPorts) {
    startIsolated({{7, KVX_MODEL_M200A}});
    ASSERT_EQ(kvxCommOpen(7), KVX_OK);
    ASSERT_EQ(kvxCommOpen2(7), KVX_OK);
    EXPECT_EQ(sim->control("connections 7"), "ok main=1 passthru=1");
}

TEST_F(Sessions, RefusedConnection) {
    startGeneral({{1}});
    control("refuse 1");
    EXPECT_EQ(kvxCommOpen(1), KVX_E_REFUSED);
    control("accept 1");
    EXPECT_EQ(kvxCommOpen(1), KVX_OK) << "a failed open leaves no half-open session behind";
}

TEST_F(Sessions, SilentInstrumentIsNotFound) {
    startGeneral({{1}});
    ASSERT_EQ(kvxTimeoutSet(1), KVX_OK);
    control("silent 1");
    EXPECT_EQ(kvxCommOpen(1), KVX_E_TIMEOUT);
    control("clear 1");
    EXPECT_EQ(kvxCommOpen(1), KVX_OK);
}

TEST_F(Sessions, GeneralModeNeedsAnAddress) {
    startGeneral({{1}});
    kvtest::writeCcfFile(dir.path(), KVX_NET_GENERAL, sim->basePort(), {{1, "0.0.0.0", 1}});
    EXPECT_EQ(kvxCommOpen(1), KVX_E_BAD_ADDRESS);
    kvtest::writeCcfFile(dir.path(), 3, sim->basePort(), {{1, address(1), 1}});
    EXPECT_EQ(kvxCommOpen(1), KVX_E_CCF_DAMAGED) << "a network mode other than 2 or 4";
}

TEST_F(Sessions, ConfigurationFileCannotChangeWhileASessionIsOpen) {
    startGeneral({{1}});
    ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    const uint8_t address[4] = {127, 0, 0, 9};
    EXPECT_EQ(kvxCCFsetBCN(9, address, 1), KVX_E_SESSIONS_OPEN);
    EXPECT_EQ(kvxCCFsetTCPport(5000), KVX_E_SESSIONS_OPEN);
    EXPECT_EQ(kvxCCFnumEntries(), 1) << "reading is still allowed";
    ASSERT_EQ(kvxCommClose(1), KVX_OK);
    EXPECT_EQ(kvxCCFsetBCN(9, address, 1), KVX_OK);
}

TEST_F(Sessions, LibExitClosesEverythingWithoutCloseRequests) {
    startGeneral({{1}, {2}});
    ASSERT_EQ(kvxCommOpen(1), KVX_OK);
    ASSERT_EQ(kvxCommOpen2(2), KVX_OK);
    EXPECT_EQ(kvxLibExit(), KVX_OK);
    EXPECT_TRUE(kvtest::waitFor(
        [&] {
            return sim->control("connections 1") == "ok main=0 passthru=0" &&
                   sim->control("connections 2") == "ok main=0 passthru=0";
        },
        2000));
    EXPECT_EQ(commandsReceived(1), (std::vector<int>{0}));
    EXPECT_EQ(commandsReceived(2), (std::vector<int>{0}));
}

} // namespace

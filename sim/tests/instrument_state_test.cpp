// What the simulated instrument remembers from requests and from the control
// channel, and how the control channel picks instruments.
#include <gtest/gtest.h>

#include "sim_test_helpers.h"

using namespace simtest;

namespace {

bool stateShows(kvtest::SimProcess &sim, const std::string &field) {
    return (sim.control("state 3") + " ").find(" " + field + " ") != std::string::npos;
}

TEST(SimInstrumentState, ScanControlRequestsAreRemembered) {
    OneInstrument one;
    auto main = one.connectMain();
    Bytes clockSet = kvtest::fromHex("09000003000f1800"); // 15 March 2024, 09:00, an hour before the start
    const Bytes zero = ints({0});
    clockSet.insert(clockSet.end(), zero.begin(), zero.end());
    ASSERT_EQ(main->exchange(1, 106, clockSet), reply(1, 106));
    Bytes enableAt = ints({1});
    const Bytes at = kvtest::fromHex("0a000003000f1800");
    enableAt.insert(enableAt.end(), at.begin(), at.end());
    const Bytes ms = ints({500});
    enableAt.insert(enableAt.end(), ms.begin(), ms.end());
    EXPECT_EQ(main->exchange(2, 103, enableAt), reply(2, 103));
    EXPECT_EQ(main->exchange(3, 102, ints({1})), reply(3, 102));
    EXPECT_EQ(main->exchange(4, 117, ints({12})), reply(4, 117));
    EXPECT_EQ(main->exchange(5, 124), reply(5, 124));
    EXPECT_TRUE(stateShows(one.sim, "scanning=1"));
    EXPECT_TRUE(stateShows(one.sim, "enable-mode=1"));
    EXPECT_TRUE(stateShows(one.sim, "trigger=1"));
    EXPECT_TRUE(stateShows(one.sim, "monitor=12"));
    EXPECT_TRUE(stateShows(one.sim, "spy=1"));

    EXPECT_EQ(main->exchange(6, 118), reply(6, 118));
    EXPECT_EQ(main->exchange(7, 104), reply(7, 104));
    EXPECT_TRUE(stateShows(one.sim, "monitor=0"));
    EXPECT_TRUE(stateShows(one.sim, "scanning=0"));

    ASSERT_EQ(one.sim.control("push 3 4"), "ok");
    EXPECT_EQ(main->exchange(8, 123, ints({2})), reply(8, 123));
    EXPECT_TRUE(stateShows(one.sim, "queued=0"));
    EXPECT_TRUE(stateShows(one.sim, "clear-value=2"));

    ASSERT_EQ(one.sim.control("push 3 4"), "ok");
    EXPECT_EQ(main->exchange(9, 103, Bytes(16, 0)), reply(9, 103));
    EXPECT_EQ(main->exchange(10, 3), reply(10, 3));
    EXPECT_TRUE(stateShows(one.sim, "scanning=0"));
    EXPECT_TRUE(stateShows(one.sim, "spy=0"));
    EXPECT_TRUE(stateShows(one.sim, "queued=0"));
    EXPECT_TRUE(stateShows(one.sim, "resets=1"));
}

TEST(SimInstrumentState, WordsSetByControlAreAnsweredOnTheirConnections) {
    OneInstrument one;
    for (const char *line : {"status 3 0x01000004", "selftest 3 0x10020", "ierror 3 -7", "totalizer 3 1234"}) {
        ASSERT_EQ(one.sim.control(line), "ok") << line;
    }
    auto main = one.connectMain();
    auto passThru = one.connectPassThru();
    EXPECT_EQ(main->exchange(2, 2), reply(2, 2, ints({0x01000004})));
    EXPECT_EQ(passThru->exchange(3, 2), reply(3, 2, ints({0x01000004})));
    EXPECT_EQ(main->exchange(4, 115), reply(4, 115));
    EXPECT_EQ(main->exchange(5, 116), reply(5, 116, ints({0x10020})));
    EXPECT_EQ(main->exchange(6, 4), reply(6, 4, ints({-7})));
    EXPECT_EQ(main->exchange(7, 112), reply(7, 112, ints({1234})));
    EXPECT_EQ(main->exchange(8, 113), reply(8, 113));
    EXPECT_EQ(main->exchange(9, 112), reply(9, 112, ints({0})));

    ASSERT_EQ(one.sim.control("totalizer 3 9"), "ok");
    EXPECT_EQ(passThru->exchange(10, 206), reply(10, 206));
    EXPECT_EQ(passThru->exchange(11, 205, ints({0x03, 0x01})), reply(11, 205));
    EXPECT_EQ(main->exchange(12, 112), reply(12, 112, ints({0})));
    EXPECT_EQ(main->exchange(13, 109), reply(13, 109, ints({0x01})));
    EXPECT_EQ(one.sim.control("connections 3"), "ok main=1 passthru=1");
}

TEST(SimInstrumentState, Type1ConfigurationLeavesTheEquationAreaAlone) {
    OneInstrument one;
    auto main = one.connectMain();
    Bytes type2(2492, 0);
    type2[1492] = 4; // a one-byte token
    type2[1493] = 9;
    EXPECT_EQ(main->exchange(2, 129, type2), reply(2, 129));
    Bytes type1 = ints({0x40, 0, 0, 1, 0});
    type1.resize(1492, 0);
    EXPECT_EQ(main->exchange(3, 108, type1), reply(3, 108));
    Bytes expected = type1;
    expected.insert(expected.end(), type2.begin() + 1492, type2.end());
    EXPECT_EQ(main->exchange(4, 128), reply(4, 128, expected));
}

TEST(SimInstrumentState, BadMagicClosesTheConnection) {
    OneInstrument one;
    auto main = one.connectMain();
    Bytes request = kvtest::frameRequest(2, 2);
    request[0] = 'X';
    main->send(request);
    EXPECT_TRUE(main->closedByPeer(5000));
}

TEST(SimInstrumentState, ControlLinesPickInstrumentsByBcnOrAll) {
    const std::string first = kvtest::uniqueLoopbackAddress(31);
    const std::string second = kvtest::uniqueLoopbackAddress(32);
    kvtest::SimProcess sim({"--instrument", "31:M100A:" + first, "--instrument", "32:M200A:" + second});
    ASSERT_EQ(sim.control("status * 5"), "ok");
    EXPECT_EQ(kvtest::RawConnection(first, sim.basePort()).exchange(2, 2), reply(2, 2, ints({5})));
    EXPECT_EQ(kvtest::RawConnection(second, sim.basePort()).exchange(3, 2), reply(3, 2, ints({5})));
    EXPECT_EQ(sim.requests(31).size(), 1u);
    EXPECT_EQ(sim.control("requests *"), "error no instrument *");
    EXPECT_EQ(sim.control("request 31 1"), "error no request 1");
    ASSERT_EQ(sim.control("forget 31"), "ok");
    EXPECT_TRUE(sim.requests(31).empty());
    EXPECT_EQ(sim.requests(32).size(), 1u);
    EXPECT_EQ(sim.control("nonsense 31"), "error unknown command: nonsense");
}

} // namespace

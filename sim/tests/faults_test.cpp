// Each fault of the control channel, seen from the client's side of the wire.
#include <gtest/gtest.h>

#include <chrono>

#include "sim_test_helpers.h"

using namespace simtest;

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(SimFaults, SilentTakesRequestsButNeverAnswersUntilCleared) {
    OneInstrument one;
    ASSERT_EQ(one.sim.control("silent 3"), "ok");
    auto main = one.connectMain();
    main->send(kvtest::frameRequest(2, 0));
    EXPECT_TRUE(main->receive(1, 300).empty());
    EXPECT_EQ(one.sim.requestCommands(3), std::vector<int>{0});
    ASSERT_EQ(one.sim.control("clear 3"), "ok");
    EXPECT_EQ(main->exchange(3, 0), reply(3, 0));
}

TEST(SimFaults, DelayAndBytewiseHoldRepliesBack) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("delay 3 200"), "ok");
    auto start = Clock::now();
    EXPECT_EQ(main->exchange(2, 2), reply(2, 2, ints({0})));
    EXPECT_GE(millisecondsSince(start), 190);

    ASSERT_EQ(one.sim.control("clear 3"), "ok");
    ASSERT_EQ(one.sim.control("bytewise 3"), "ok");
    start = Clock::now();
    main->send(kvtest::frameRequest(3, 2));
    EXPECT_EQ(main->receive(20, 5000), reply(3, 2, ints({0})));
    EXPECT_GE(millisecondsSince(start), 19); // a gap between each of the 20 bytes
}

TEST(SimFaults, SlowInstrumentDoesNotHoldUpAnother) {
    const std::string silentOne = kvtest::uniqueLoopbackAddress(1);
    const std::string quickOne = kvtest::uniqueLoopbackAddress(2);
    kvtest::SimProcess sim(
        {"--instrument", "1:M200A:" + silentOne, "--instrument", "2:M100A:" + quickOne, "--fault", "silent 1"});
    kvtest::RawConnection silent(silentOne, sim.basePort());
    kvtest::RawConnection quick(quickOne, sim.basePort());
    silent.send(kvtest::frameRequest(2, 0));
    EXPECT_EQ(quick.exchange(2, 0, {}, 1000), reply(2, 0));
    EXPECT_EQ(sim.control("connections 1"), "ok main=1 passthru=0");
}

TEST(SimFaults, ForeignRepliesComeFirstWithAStaleSequence) {
    OneInstrument one({"--fault", "foreign 3 1"});
    auto main = one.connectMain();
    EXPECT_EQ(main->exchange(7, 2), errorReply(6, -999));
    EXPECT_EQ(main->receiveMessage(5000), reply(7, 2, ints({0})));
    EXPECT_EQ(main->exchange(8, 2), reply(8, 2, ints({0}))); // only the asked number
}

TEST(SimFaults, ErrorRepliesForOneCommandALimitedNumberOfTimes) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("error 3 -3 2 2"), "ok");
    EXPECT_EQ(main->exchange(2, 119), reply(2, 119, ints({3})));
    EXPECT_EQ(main->exchange(3, 2), errorReply(3, -3));
    EXPECT_EQ(main->exchange(4, 2), errorReply(4, -3));
    EXPECT_EQ(main->exchange(5, 2), reply(5, 2, ints({0})));

    ASSERT_EQ(one.sim.control("error 3 -11"), "ok");
    EXPECT_EQ(main->exchange(6, 103, Bytes(16, 0)), errorReply(6, -11));
    EXPECT_EQ(main->exchange(7, 119), errorReply(7, -11));
    EXPECT_NE(one.sim.control("state 3").find("scanning=0"), std::string::npos); // refused, not done
}

TEST(SimFaults, PushBeforeMakesScansOnceJustBeforeTheAwaitedCommand) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("push-before 3 104 2"), "ok");
    EXPECT_EQ(main->exchange(2, 2), reply(2, 2, ints({0})));
    EXPECT_EQ(one.sim.counters(3).queued, 0) << "not before another command";
    main->exchange(3, 104);
    EXPECT_EQ(one.sim.counters(3).queued, 2);
    main->exchange(4, 104);
    EXPECT_EQ(one.sim.counters(3).produced, 2) << "once";
    EXPECT_NE(one.sim.control("push-before 3 104 0").rfind("error", 0), std::string::npos);
}

TEST(SimFaults, CloseAfterDropsTheConnectionOnTheNthRequest) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("close-after 3 2"), "ok");
    EXPECT_EQ(main->exchange(2, 0), reply(2, 0));
    main->send(kvtest::frameRequest(3, 2));
    EXPECT_TRUE(main->closedByPeer(5000));
    EXPECT_EQ(one.sim.requestCommands(3), (std::vector<int>{0, 2}));
    EXPECT_TRUE(kvtest::waitFor([&] { return one.sim.control("connections 3") == "ok main=0 passthru=0"; }, 5000));
    auto again = one.connectMain();
    EXPECT_EQ(again->exchange(4, 2), reply(4, 2, ints({0}))); // once only
}

TEST(SimFaults, RefuseClosesTheListenersAndAcceptReopensThem) {
    OneInstrument one;
    auto kept = one.connectMain();
    // Closing the listener drops connections it has not accepted yet.
    ASSERT_TRUE(kvtest::waitFor([&] { return one.sim.control("connections 3") == "ok main=1 passthru=0"; }, 5000));
    ASSERT_EQ(one.sim.control("refuse 3"), "ok");
    EXPECT_TRUE(kvtest::connectionRefused(one.address, one.sim.basePort()));
    EXPECT_TRUE(kvtest::connectionRefused(one.address, one.sim.basePort() + 2));
    EXPECT_EQ(kept->exchange(2, 0), reply(2, 0)); // open connections go on
    ASSERT_EQ(one.sim.control("accept 3"), "ok");
    EXPECT_EQ(one.connectPassThru()->exchange(3, 0), reply(3, 0));
}

TEST(SimFaults, RefusedFromTheStart) {
    OneInstrument one({"--fault", "refuse 3"});
    EXPECT_TRUE(kvtest::connectionRefused(one.address, one.sim.basePort()));
    ASSERT_EQ(one.sim.control("accept 3"), "ok");
    EXPECT_EQ(one.connectMain()->exchange(2, 0), reply(2, 0));
}

TEST(SimFaults, BadLengthAnnouncedByTheNextReplyOnly) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("bad-length 3 40"), "ok");
    main->send(kvtest::frameRequest(2, 2));
    Bytes expected = reply(2, 2, ints({0}));
    expected[15] = 40;
    EXPECT_EQ(main->receive(20, 5000), expected);
    main->send(kvtest::frameRequest(3, 0));
    EXPECT_EQ(main->receive(16, 5000), reply(3, 0));
}

TEST(SimFaults, BadFaultWordsAreRefused) {
    OneInstrument one;
    EXPECT_EQ(one.sim.control("delay 3"), "error too few arguments for delay");
    EXPECT_EQ(one.sim.control("delay 3 soon"), "error not a number: soon");
    EXPECT_EQ(one.sim.control("silent 4"), "error no instrument 4");
    EXPECT_THROW(kvtest::SimProcess({"--instrument", "3:M100A:" + one.address, "--fault", "status 3 1"}),
                 std::runtime_error);
}

} // namespace

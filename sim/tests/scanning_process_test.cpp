// The simulator process scanning in real time, and its run-time controls,
// seen from the client's side of the wire.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "instrument_test_support.h"

using namespace simtest;

namespace {

std::string field(const std::string &reply, const std::string &key) {
    const std::size_t at = (" " + reply + " ").find(" " + key + "=");
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t start = at + key.size() + 1;
    return reply.substr(start, reply.find(' ', start) - start);
}

std::uint64_t counter(kvtest::SimProcess &sim, const std::string &key) {
    return std::stoull(field(sim.control("counters 3"), key));
}

Block fetch(kvtest::RawConnection &main, std::uint32_t sequence, std::int32_t most = 100) {
    const Bytes answer = main.exchange(sequence, 100, ints({most}));
    return parseBlock(Bytes(answer.begin() + 16, answer.end()));
}

struct ScanningInstrument : OneInstrument {
    explicit ScanningInstrument(std::vector<std::string> extra = {}) : OneInstrument(std::move(extra)) {
        InstrumentConfig config = intervalConfig(std::chrono::milliseconds(100));
        config.channels[0] = vdc();
        config.channels[1] = vdc();
        config.channels[20] = computedChannel(KVX_FN_CHAN_A_MINUS_CHAN_B, 1, 2);
        main = connectMain();
        EXPECT_EQ(main->exchange(2, 129, korvelsim::encodeConfig(config, true)), reply(2, 129));
    }
    std::unique_ptr<kvtest::RawConnection> main;
};

TEST(SimScanning, ScansArriveAtTheIntervalAndTheCountersAddUp) {
    ScanningInstrument one;
    EXPECT_EQ(one.main->exchange(3, 103, Bytes(16, 0)), reply(3, 103));
    ASSERT_TRUE(kvtest::waitFor([&] { return counter(one.sim, "produced") >= 6; }, 5000));
    const Block block = fetch(*one.main, 4);
    EXPECT_EQ(block.recordSize, 28 + 3 * 4);
    ASSERT_GE(block.records.size(), 6U);
    for (std::size_t k = 1; k < block.records.size(); ++k) {
        EXPECT_EQ(block.records[k].stampMs() - block.records[k - 1].stampMs(), 100) << k;
    }
    const std::vector<float> &readings = block.records.back().readings;
    EXPECT_FLOAT_EQ(readings[2], readings[0] - readings[1]);

    EXPECT_EQ(one.main->exchange(5, 104), reply(5, 104));
    EXPECT_EQ(counter(one.sim, "produced"), counter(one.sim, "fetched") + counter(one.sim, "lost") +
                                                counter(one.sim, "cleared") + counter(one.sim, "queued"));
    EXPECT_EQ(counter(one.sim, "fetched"), block.records.size());
}

TEST(SimScanning, OverflowRaisesTheAttentionFlagUntilTheStatusIsRead) {
    ScanningInstrument one({"--queue-capacity", "3", "--busy-time", "0"});
    EXPECT_EQ(one.main->exchange(3, 103, Bytes(16, 0)), reply(3, 103));
    ASSERT_TRUE(kvtest::waitFor([&] { return counter(one.sim, "lost") >= 1; }, 5000));
    EXPECT_EQ(one.main->exchange(4, 104), reply(4, 104));
    EXPECT_EQ(fetch(*one.main, 5, 0).remaining, 0x80000003U);
    EXPECT_EQ(one.main->exchange(6, 2), reply(6, 2, ints({1})));
    EXPECT_EQ(one.main->exchange(7, 2), reply(7, 2, ints({0})));
    EXPECT_EQ(fetch(*one.main, 8, 0).remaining, 3U);
}

TEST(SimScanning, FixedValuesAndSpecialReadingsShowInSpy) {
    ScanningInstrument one;
    ASSERT_EQ(one.sim.control("value 3 1 2.5"), "ok");
    ASSERT_EQ(one.sim.control("value 3 2 0.5"), "ok");
    ASSERT_EQ(one.sim.control("special 3 2 -overload"), "ok");
    EXPECT_EQ(one.main->exchange(3, 124), reply(3, 124));
    const auto spy = [&](std::uint32_t sequence, std::int32_t channel) {
        const Bytes answer = one.main->exchange(sequence, 111, ints({channel}));
        return kvtest::bigEndianAt(answer, 16);
    };
    EXPECT_EQ(spy(4, 1), 0x40200000U);  // 2.5
    EXPECT_EQ(spy(5, 2), 0xFF800000U);  // negative overload
    EXPECT_EQ(spy(6, 21), 0x7F800000U); // 2.5 minus negative overload
    ASSERT_EQ(one.sim.control("special 3 2 none"), "ok");
    EXPECT_EQ(spy(7, 21), 0x40000000U); // 2.5 - 0.5
    EXPECT_EQ(one.sim.control("special 3 31 open"), "error channel must be 1..30: 31");
}

TEST(SimScanning, FastModeAnswersEveryFetchInFull) {
    ScanningInstrument one({"--fast"});
    EXPECT_EQ(one.main->exchange(3, 103, Bytes(16, 0)), reply(3, 103));
    for (std::uint32_t sequence = 4; sequence < 8; ++sequence) {
        EXPECT_EQ(fetch(*one.main, sequence).records.size(), 100U);
    }
    EXPECT_EQ(counter(one.sim, "fetched"), 400U);
}

TEST(SimScanning, PausedRepliesComeOnResume) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("pause 3"), "ok");
    main->send(kvtest::frameRequest(2, 126));
    EXPECT_TRUE(main->receive(1, 200).empty());
    ASSERT_EQ(one.sim.control("resume 3"), "ok");
    EXPECT_EQ(main->receiveMessage(5000), reply(2, 126, ints({0})));
}

TEST(SimScanning, DropClosesEveryConnectionOfTheInstrument) {
    OneInstrument one;
    auto main = one.connectMain();
    auto passThru = one.connectPassThru();
    ASSERT_TRUE(kvtest::waitFor([&] { return one.sim.control("connections 3") == "ok main=1 passthru=1"; }, 5000));
    ASSERT_EQ(one.sim.control("drop 3"), "ok");
    EXPECT_TRUE(main->closedByPeer(5000));
    EXPECT_TRUE(passThru->closedByPeer(5000));
    EXPECT_EQ(one.connectMain()->exchange(2, 0), reply(2, 0)) << "still listening";
}

TEST(SimScanning, PayloadFaultReplacesTheNextReplyOnly) {
    OneInstrument one;
    auto main = one.connectMain();
    ASSERT_EQ(one.sim.control("payload 3 0000009400000005"), "ok");
    EXPECT_EQ(main->exchange(2, 100, ints({5})), reply(2, 100, kvtest::fromHex("0000009400000005")));
    EXPECT_EQ(main->exchange(3, 126), reply(3, 126, ints({0})));
    EXPECT_EQ(one.sim.control("payload 3 123"), "error odd number of hex digits");
}

} // namespace

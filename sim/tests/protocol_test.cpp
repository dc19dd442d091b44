// The simulator's side of the wire, checked byte for byte over real sockets.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "sim_test_helpers.h"

using namespace simtest;

namespace {

// Fields of the stored configuration block, which is kept in host order.
class HostFields {
public:
    explicit HostFields(const Bytes &bytes) : bytes_(bytes) {}
    template <typename T>
    T at(std::size_t offset) const {
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }

private:
    const Bytes &bytes_;
};

Bytes slice(const Bytes &bytes, std::size_t offset, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

std::vector<std::uint32_t> bigEndianWords(const Bytes &bytes, std::size_t offset, std::size_t count) {
    std::vector<std::uint32_t> words;
    for (std::size_t i = 0; i < count; ++i) {
        words.push_back(kvtest::bigEndianAt(bytes, offset + 4 * i));
    }
    return words;
}

Bytes status256Reply() { return kvtest::fromHex("4b56455800000005000000020000001400000100"); }

TEST(SimProtocol, StatusRequestGetsExactReplyAndIsLoggedByteForByte) {
    OneInstrument one;
    ASSERT_EQ(one.sim.control("status 3 256"), "ok");
    auto main = one.connectMain();
    EXPECT_EQ(main->exchange(5, 2), status256Reply());
    EXPECT_EQ(one.sim.requests(3), std::vector<std::string>{"4b564558000000050000000200000010"});
    EXPECT_EQ(one.sim.requestCommands(3), std::vector<int>{2});
}

TEST(SimProtocol, RequestsAreAssembledFromPiecesAndFromOneStream) {
    OneInstrument one;
    ASSERT_EQ(one.sim.control("status 3 256"), "ok");
    auto main = one.connectMain();
    const Bytes request = kvtest::frameRequest(5, 2);
    for (std::uint8_t byte : request) {
        main->send({byte});
    }
    EXPECT_EQ(main->receiveMessage(5000), status256Reply());

    // Two requests and the start of a third in one send; the rest later.
    Bytes stream = kvtest::frameRequest(6, 119);
    const Bytes third = kvtest::frameRequest(8, 102, ints({7}));
    Bytes second = kvtest::frameRequest(7, 4);
    stream.insert(stream.end(), second.begin(), second.end());
    stream.insert(stream.end(), third.begin(), third.begin() + 10);
    main->send(stream);
    EXPECT_EQ(main->receiveMessage(5000), reply(6, 119, ints({3})));
    EXPECT_EQ(main->receiveMessage(5000), reply(7, 4, ints({0})));
    main->send(Bytes(third.begin() + 10, third.end()));
    EXPECT_EQ(main->receiveMessage(5000), reply(8, 102));
    EXPECT_NE(one.sim.control("state 3").find("trigger=7"), std::string::npos);
}

TEST(SimProtocol, UnknownMisplacedAndMalformedRequestsGetErrorReplies) {
    OneInstrument one;
    auto main = one.connectMain();
    EXPECT_EQ(main->exchange(2, 50), errorReply(2, -1));
    EXPECT_EQ(main->exchange(3, 202, ints({0})), errorReply(3, -1)); // pass-through command on main
    EXPECT_EQ(main->exchange(4, 100), errorReply(4, -9));            // count missing
    EXPECT_EQ(main->exchange(5, 2, ints({1})), errorReply(5, -9));   // status takes no payload
    auto passThru = one.connectPassThru();
    EXPECT_EQ(passThru->exchange(6, 2), reply(6, 2, ints({0})));
    EXPECT_EQ(passThru->exchange(7, 100, ints({1})), errorReply(7, -1));
}

TEST(SimProtocol, LengthFieldOutsideTheMessageLimitsClosesTheConnection) {
    OneInstrument one;
    for (std::uint32_t length : {15u, 15362u}) {
        auto main = one.connectMain();
        Bytes request = kvtest::frameRequest(2, 0);
        request[12] = static_cast<std::uint8_t>(length >> 24);
        request[13] = static_cast<std::uint8_t>(length >> 16);
        request[14] = static_cast<std::uint8_t>(length >> 8);
        request[15] = static_cast<std::uint8_t>(length);
        main->send(request);
        EXPECT_TRUE(main->closedByPeer(5000)) << length;
    }
    // The largest message is still taken (as a malformed request of command 2).
    auto main = one.connectMain();
    EXPECT_EQ(main->exchange(9, 2, Bytes(15361 - 16, 0)), errorReply(9, -9));
}

// Type 2 configuration: the equation area travels token by token in network
// order but is kept in host order, and comes back exactly as it was sent.
TEST(SimProtocol, Type2ConfigurationRoundTripsAndIsStoredInHostOrder) {
    OneInstrument one;
    Bytes payload = ints({0x841, 0, 0, 1, 0});
    payload.resize(52, 0);
    Bytes rtd = ints({16, 20513});
    kvtest::appendBigEndian(rtd, std::bit_cast<std::uint32_t>(0.00385f));
    rtd.resize(48, 0);
    payload.insert(payload.end(), rtd.begin(), rtd.end());
    payload.resize(1492, 0);
    Bytes equations(1000, 0);
    const Bytes tokens = kvtest::fromHex("01000502"
                                         "3fc00000"
                                         "0300112233445566770b");
    std::copy(tokens.begin(), tokens.end(), equations.begin());
    equations[997] = 2; // too close to the end to carry a float: sent as it is
    equations[998] = 1; // likewise for a channel number
    equations[999] = 0x7f;
    payload.insert(payload.end(), equations.begin(), equations.end());

    auto main = one.connectMain();
    EXPECT_EQ(main->exchange(2, 129, payload), reply(2, 129));
    EXPECT_EQ(main->exchange(3, 128), reply(3, 128, payload));
    const Bytes withoutEquations(payload.begin(), payload.begin() + 1492);
    EXPECT_EQ(main->exchange(4, 107), reply(4, 107, withoutEquations));

    const std::string stored = one.sim.control("config 3");
    ASSERT_EQ(stored.size(), 3 + 2 * 2492u);
    const Bytes block = kvtest::fromHex(stored.substr(3));
    const HostFields host(block);
    EXPECT_EQ(host.at<std::uint32_t>(0), 0x841u);
    EXPECT_FLOAT_EQ(host.at<float>(52 + 8), 0.00385f);
    EXPECT_EQ(block[1492], 1);
    EXPECT_EQ(host.at<std::uint16_t>(1493), 5);
    EXPECT_EQ(block[1495], 2);
    EXPECT_FLOAT_EQ(host.at<float>(1496), 1.5f);
    EXPECT_EQ(slice(block, 1500, 10), slice(tokens, 8, 10));
    EXPECT_EQ(slice(block, 2489, 3), kvtest::fromHex("02017f"));
}

TEST(SimProtocol, ScanBlocksComeFromTheQueueOldestFirst) {
    OneInstrument one;
    auto main = one.connectMain();
    EXPECT_EQ(main->exchange(2, 101), reply(2, 101, ints({148, 0, 0})));
    ASSERT_EQ(one.sim.control("push 3 5 channels 2"), "ok");
    ASSERT_EQ(one.sim.control("dio 3 0x5a"), "ok");

    const Bytes block = main->exchange(3, 100, ints({2}));
    ASSERT_EQ(block.size(), 16 + 12 + 2 * 36u);
    EXPECT_EQ(bigEndianWords(block, 16, 3), (std::vector<std::uint32_t>{36, 2, 3}));
    EXPECT_EQ(kvtest::bigEndianAt(block, 28), 1u); // first word: scan number
    EXPECT_EQ(kvtest::bigEndianAt(block, 28 + 36), 2u);
    EXPECT_FLOAT_EQ(std::bit_cast<float>(kvtest::bigEndianAt(block, 28 + 28)), 1.01f);
    EXPECT_FLOAT_EQ(std::bit_cast<float>(kvtest::bigEndianAt(block, 28 + 32)), 1.02f);
    EXPECT_LT(kvtest::bigEndianAt(block, 28 + 12), 1000u); // milliseconds, DIO as it was at the scan

    const Bytes last = main->exchange(4, 101);
    EXPECT_EQ(bigEndianWords(last, 16, 4), (std::vector<std::uint32_t>{36, 1, 3, 5}));
    EXPECT_EQ(main->exchange(5, 126), reply(5, 126, ints({3})));
    ASSERT_EQ(one.sim.control("attention 3 1"), "ok");
    EXPECT_EQ(bigEndianWords(main->exchange(6, 100, ints({100})), 16, 3),
              (std::vector<std::uint32_t>{36, 3, 0x80000000u}));
    EXPECT_EQ(one.sim.control("push 3 1 size 30").rfind("error record size refused", 0), 0u);
    ASSERT_EQ(one.sim.control("push 3 1"), "ok");
    EXPECT_EQ(one.sim.control("push 3 1 size 40").rfind("error record size refused", 0), 0u); // 36 queued
}

TEST(SimProtocol, PassThroughGivesBackWhatWasSent) {
    OneInstrument one;
    auto passThru = one.connectPassThru();
    EXPECT_EQ(passThru->exchange(2, 200, ints({4})), reply(2, 200));
    Bytes send = ints({3});
    Bytes data(2000, 0xEE);
    data[0] = 'a';
    data[1] = 'b';
    data[2] = 'c';
    send.insert(send.end(), data.begin(), data.end());
    EXPECT_EQ(passThru->exchange(3, 202, send), reply(3, 202));
    EXPECT_EQ(passThru->exchange(4, 204), reply(4, 204, ints({4, 3})));

    Bytes expected = ints({2});
    Bytes back(2000, 0);
    back[0] = 'a';
    back[1] = 'b';
    expected.insert(expected.end(), back.begin(), back.end());
    EXPECT_EQ(passThru->exchange(5, 203, ints({2})), reply(5, 203, expected));
    EXPECT_EQ(kvtest::bigEndianAt(passThru->exchange(6, 203, ints({2000})), 16), 1u);
    EXPECT_EQ(passThru->exchange(7, 202, ints({3})), errorReply(7, -9)); // the block is always 2000 bytes
}

TEST(SimProtocol, InstrumentIdentityAnswers) {
    OneInstrument one;
    auto main = one.connectMain();
    Bytes model(40, 0);
    std::memcpy(model.data(), "M100A", 5);
    EXPECT_EQ(main->exchange(2, 114), reply(2, 114, model));
    EXPECT_EQ(main->exchange(3, 127), reply(3, 127, kvtest::fromHex("5620312e30000000")));
    ASSERT_EQ(one.sim.control("compat 3 old"), "ok");
    EXPECT_EQ(main->exchange(4, 127), errorReply(4, -1));
    ASSERT_EQ(one.sim.control("report-bcn 3 12"), "ok");
    EXPECT_EQ(main->exchange(5, 119), reply(5, 119, ints({12})));
    EXPECT_EQ(main->exchange(6, 111, ints({4})), errorReply(6, -10)); // spy off
    ASSERT_EQ(one.sim.control("spy-value 3 4 21.5"), "ok");
    EXPECT_EQ(main->exchange(7, 124), reply(7, 124));
    EXPECT_EQ(main->exchange(8, 111, ints({4})), reply(8, 111, ints({std::bit_cast<std::int32_t>(21.5f)})));
    EXPECT_EQ(main->exchange(9, 111, ints({5})), errorReply(9, -10)); // nothing known
}

TEST(SimProtocol, ClockTemperatureAndDigitalIoAnswerDeterministically) {
    OneInstrument one;
    auto main = one.connectMain();
    // 12:34:56.789 on 5 March (20)24: the block is hour, minute, second, month, -, day, year, -.
    Bytes setTime = kvtest::fromHex("0c22380300051800");
    const Bytes ms = ints({789});
    setTime.insert(setTime.end(), ms.begin(), ms.end());
    EXPECT_EQ(main->exchange(2, 106, setTime), reply(2, 106));
    const Bytes now = main->exchange(3, 105);
    ASSERT_EQ(now.size(), 16 + 12u);
    EXPECT_EQ(slice(now, 16, 2), kvtest::fromHex("0c22"));
    EXPECT_LE(now[18] - 56, 1); // the clock runs on
    EXPECT_EQ(slice(now, 19, 5), kvtest::fromHex("0300051800"));
    setTime[3] = 13; // no month 13
    EXPECT_EQ(main->exchange(4, 106, setTime), errorReply(4, -9));

    const auto floatWord = [](float value) { return std::bit_cast<std::int32_t>(value); };
    EXPECT_EQ(main->exchange(5, 120), reply(5, 120, ints({floatWord(25.0f)})));
    EXPECT_EQ(main->exchange(6, 121, ints({2, floatWord(1.5f), floatWord(4.0f)})),
              reply(6, 121, ints({floatWord(8.0f)})));
    EXPECT_EQ(main->exchange(7, 122, ints({3, floatWord(0.25f)})), reply(7, 122, ints({floatWord(3.25f)})));

    ASSERT_EQ(one.sim.control("dio 3 0x5a"), "ok");
    EXPECT_EQ(main->exchange(8, 110, ints({0x0F, 0x05})), reply(8, 110));
    EXPECT_EQ(main->exchange(9, 109), reply(9, 109, ints({0x55})));
}

} // namespace

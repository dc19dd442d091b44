// Where the simulator listens: base and pass-through ports, isolated
// networks, ccf.cfg files, and the refusal of anything but loopback.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sim_test_helpers.h"

using namespace simtest;

namespace {

TEST(SimAddressing, PassThroughPortWrapsPastTheLastPort) {
    const std::string address = kvtest::uniqueLoopbackAddress(9);
    kvtest::SimProcess sim({"--general", "--port", "65534", "--instrument", "9:M200A:" + address});
    EXPECT_EQ(sim.basePort(), 65534);
    kvtest::RawConnection passThru(address, 1024);
    EXPECT_EQ(passThru.exchange(2, 2), reply(2, 2, ints({0})));
    EXPECT_EQ(sim.control("connections 9"), "ok main=0 passthru=1");
}

TEST(SimAddressing, IsolatedModeListensOnPrefixAndBcn) {
    const std::string prefix = kvtest::uniqueIsolatedPrefix();
    kvtest::SimProcess sim(
        {"--isolated", "--isolated-prefix", prefix, "--instrument", "7", "--instrument", "12:M200A"});
    EXPECT_EQ(sim.basePort(), 4369);
    kvtest::RawConnection seven(prefix + ".7", 4369);
    EXPECT_EQ(seven.exchange(2, 119), reply(2, 119, ints({7})));
    kvtest::RawConnection twelve(prefix + ".12", 4371);
    EXPECT_EQ(twelve.exchange(3, 2), reply(3, 2, ints({0})));
    EXPECT_TRUE(kvtest::connectionRefused(prefix + ".8", 4369));
}

TEST(SimAddressing, IsolatedPrefixFromTheEnvironment) {
    const std::string prefix = kvtest::uniqueIsolatedPrefix();
    setenv("KVLINK32_ISOLATED_PREFIX", prefix.c_str(), 1);
    kvtest::SimProcess sim({"--isolated", "--instrument", "5"});
    unsetenv("KVLINK32_ISOLATED_PREFIX");
    kvtest::RawConnection five(prefix + ".5", 4369);
    EXPECT_EQ(five.exchange(2, 0), reply(2, 0));
}

TEST(SimAddressing, ServesEveryEntryOfACcfFile) {
    kvtest::TempDir dir;
    const std::string first = kvtest::uniqueLoopbackAddress(21);
    const std::string second = kvtest::uniqueLoopbackAddress(22);
    kvtest::writeCcfFile(dir.path(), 4, 5210, {{21, first, 0}, {22, second, 1}});
    kvtest::SimProcess sim({"--ccf", dir.path() + "/ccf.cfg"});
    EXPECT_EQ(sim.basePort(), 5210);
    kvtest::RawConnection m200(first, 5210);
    kvtest::Bytes model(40, 0);
    std::copy_n("M200A", 5, model.begin());
    EXPECT_EQ(m200.exchange(2, 114), reply(2, 114, model));
    kvtest::RawConnection m100(second, 5212);
    EXPECT_EQ(m100.exchange(3, 0), reply(3, 0));

    // The command line overrides the file's mode.
    const std::string prefix = kvtest::uniqueIsolatedPrefix();
    kvtest::SimProcess isolated({"--ccf", dir.path() + "/ccf.cfg", "--isolated", "--isolated-prefix", prefix});
    EXPECT_EQ(kvtest::RawConnection(prefix + ".22", 4369).exchange(4, 119), reply(4, 119, ints({22})));
}

TEST(SimAddressing, RefusesNonLoopbackAndAmbiguousSetups) {
    const auto startError = [](const std::vector<std::string> &args) {
        try {
            kvtest::SimProcess sim(args);
        } catch (const std::runtime_error &error) {
            return std::string(error.what());
        }
        return std::string("started");
    };
    EXPECT_NE(startError({"--instrument", "3:M100A:192.168.1.3"}).find("non-loopback"), std::string::npos);
    EXPECT_NE(startError({"--isolated", "--isolated-prefix", "10.75.86", "--instrument", "3"}).find("loopback"),
              std::string::npos);
    EXPECT_NE(startError({"--instrument", "3", "--instrument", "4"}).find("two instruments"), std::string::npos);
    EXPECT_NE(startError({"--instrument", "3:M300A"}).find("M100A or M200A"), std::string::npos);
    EXPECT_NE(startError({}).find("no instrument"), std::string::npos);
}

} // namespace

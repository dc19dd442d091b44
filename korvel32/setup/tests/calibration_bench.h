// The calibration tests' bench: korvel-sim's calibration port on a
// pseudo-terminal, the logger's serial line opened on it at the instrument's
// rate, and a scripted user interface. Steps take no time.
#pragma once

#include "platform/serial_port.h"
#include "scripted_user_interface.h"
#include "setup/calibration_exchange.h"

#include <gtest/gtest.h>

#include <sim_process.h>

#include <chrono>
#include <string>
#include <vector>

namespace korvel::test {

using namespace std::chrono_literals;

// For an instrument that is expected to stay quiet: waits kept short.
inline constexpr CalibrationTimeLimits kQuietLimits{150ms, 150ms, 150ms};

class CalibrationBench : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sim.control("serial step-time 0"), "ok");
        ASSERT_TRUE(port.open(sim.serialPath(), 19200));
    }

    void control(const std::string &line) { ASSERT_EQ(sim.control(line), "ok") << line; }

    std::vector<std::string> received() { return sim.serialReceived(); }

    // How often exactly this line came over the port.
    int countReceived(const std::string &line) {
        int count = 0;
        for (const std::string &received : sim.serialReceived()) count += received == line;
        return count;
    }

    kvtest::SimProcess sim{{"--serial"}};
    SerialPort port;
    ScriptedUserInterface ui;
};

} // namespace korvel::test

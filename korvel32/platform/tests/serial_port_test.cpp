// The serial line against korvel-sim's calibration port on a pseudo-terminal:
// the line settings the instrument needs, exclusive use, and the ports that
// cannot be opened.
#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <sim_process.h>

#include <cstdlib>
#include <fstream>

namespace korvel {
namespace {

using namespace std::chrono_literals;

TEST(SerialPortPath, ComPortsMapToTheSerialDevicesUnlessTheEnvironmentNamesOne) {
    unsetenv("KORVEL32_COM1");
    unsetenv("KORVEL32_COM4");
    EXPECT_EQ(serialPortPath(1), "/dev/ttyS0");
    EXPECT_EQ(serialPortPath(4), "/dev/ttyS3");
    setenv("KORVEL32_COM4", "/tmp/bench-line", 1);
    EXPECT_EQ(serialPortPath(4), "/tmp/bench-line");
    EXPECT_EQ(serialPortPath(1), "/dev/ttyS0");
    setenv("KORVEL32_COM4", "", 1);
    EXPECT_EQ(serialPortPath(4), "/dev/ttyS3");
    unsetenv("KORVEL32_COM4");
}

class SerialPortTest : public ::testing::Test {
protected:
    kvtest::SimProcess sim{{"--serial"}};
    SerialPort port;
};

TEST_F(SerialPortTest, EachBaudRateIsSetWithEightDataBitsNoParityOneStopBitAndXonXoff) {
    for (const unsigned baud : {4800u, 9600u, 19200u, 38400u}) {
        ASSERT_TRUE(port.open(sim.serialPath(), baud)) << baud;
        EXPECT_EQ(sim.serialState("line"), std::to_string(baud) + "-8N1");
        EXPECT_EQ(sim.serialState("xonxoff"), "1");
        port.close();
    }
}

TEST_F(SerialPortTest, BytesGoBothWaysAndDiscardedInputIsGone) {
    ASSERT_TRUE(port.open(sim.serialPath(), 19200));
    ASSERT_TRUE(port.write("CAL 2\r\n", 2000ms));
    std::string reply;
    char character = 0;
    while (reply.size() < 4 && port.readCharacter(character, 5000ms) == SerialPort::ReadResult::Character) {
        reply += character;
    }
    EXPECT_EQ(reply, "=>\r\n");
    EXPECT_EQ(sim.serialReceived(), std::vector<std::string>{"CAL 2"});

    // Once the simulator reports the line, its reply has been written to the line.
    ASSERT_TRUE(port.write("CAL?\r\n", 2000ms));
    ASSERT_TRUE(kvtest::waitFor([&] { return sim.serialReceived().size() == 2; }, 5000));
    port.discardInput();
    EXPECT_EQ(port.readCharacter(character, 50ms), SerialPort::ReadResult::Nothing);
}

TEST_F(SerialPortTest, AnOpenPortIsNotOpenedTwiceAndIsFreeAgainOnceClosed) {
    ASSERT_TRUE(port.open(sim.serialPath(), 19200));
    SerialPort second;
    EXPECT_FALSE(second.open(sim.serialPath(), 19200));
    EXPECT_FALSE(second.isOpen());
    port.close();
    // The simulator holds the terminal open all along, so exclusive use must
    // have been handed back explicitly.
    EXPECT_TRUE(second.open(sim.serialPath(), 19200));
}

TEST_F(SerialPortTest, MissingDevicesFilesAndUnknownRatesAreRefused) {
    kvtest::TempDir dir;
    const std::string file = dir.path() + "/not-a-line";
    std::ofstream(file) << "x";
    EXPECT_FALSE(port.open(dir.path() + "/missing", 19200));
    EXPECT_FALSE(port.open(file, 19200));
    EXPECT_FALSE(port.open(sim.serialPath(), 115200));
    EXPECT_FALSE(port.isOpen());
    char character = 0;
    EXPECT_EQ(port.readCharacter(character, 1ms), SerialPort::ReadResult::Error);
    EXPECT_FALSE(port.write("CAL?\r\n", 1ms));
    EXPECT_TRUE(port.open(sim.serialPath(), 19200)); // a refused rate left nothing behind
}

} // namespace
} // namespace korvel

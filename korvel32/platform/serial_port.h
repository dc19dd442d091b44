// A serial line to an instrument's RS-232 port: held exclusively, 8 data
// bits, no parity, 1 stop bit, XON/XOFF both ways and DTR off, with reads
// that wait at most as long as the caller says.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace korvel {

// The device of port "COMn": the path in $KORVEL32_COMn when set, else
// /dev/ttyS(n-1).
std::string serialPortPath(unsigned comNumber);

class SerialPort {
public:
    enum class ReadResult { Character, Nothing, Error };

    SerialPort() = default;
    ~SerialPort() { close(); }
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    // Opens the device for this program alone at the baud rate (4800, 9600,
    // 19200 or 38400). False, with the port closed, when the device is
    // missing, in use, not a serial line or refuses the settings.
    bool open(const std::string &path, unsigned baud);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Throws away whatever has arrived and was not read yet.
    void discardInput();
    // Writes all of bytes; false on an error or when the line stays stopped
    // (XOFF) for longer than limit.
    bool write(std::string_view bytes, std::chrono::milliseconds limit);
    // Waits at most wait for one character.
    ReadResult readCharacter(char &character, std::chrono::milliseconds wait);

private:
    int fd_ = -1;
};

} // namespace korvel

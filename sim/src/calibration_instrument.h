// The instrument's side of the calibration port: a line-oriented text
// protocol in which every reply ends in a status character ("=" done, "!"
// refused), ">" and CR LF. Each function walks through its own steps with a
// reference value each; a byte 0x03 is a prompt that the instrument answers
// with its status.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelsim {

// How the line is set up on the other side; the instrument only understands
// its own baud rate with 8 data bits, no parity and 1 stop bit.
struct LineSettings {
    unsigned baud = 0;
    int dataBits = 8;
    bool parity = false;
    int stopBits = 1;
    bool xonXoff = false;
};

enum class CalibrationFault {
    None,
    Silent,     // answers nothing at all
    PromptOnly, // answers the 0x03 prompt only
    Garbled,    // every character before the terminator has its top bit flipped
    Overlong,   // replies padded with blanks to 40 characters
};

class CalibrationInstrument {
public:
    static constexpr int kFunctions = 4; // "CAL 1" .. "CAL 4"

    struct Reply {
        std::string bytes;
        std::chrono::milliseconds delay{0};
    };

    CalibrationInstrument();

    // Bytes that came over the line; the replies to send back, in order.
    std::vector<Reply> receive(std::string_view bytes);
    bool understands(const LineSettings &line) const;

    // Settings, changed from the control channel.
    bool calibrationEnabled = true; // the instrument's calibration switch
    unsigned baud = 19200;
    std::array<std::vector<float>, kFunctions> references; // the steps of each function
    std::chrono::milliseconds stepTime{300};
    int badInputs = 0; // the next steps refused as if the source were off
    CalibrationFault fault = CalibrationFault::None;
    std::optional<int> faultReplies; // replies the fault still spoils; without end when absent

    // What happened, for inspection.
    std::vector<std::string> received; // command lines without CR LF; "<03>" for a prompt
    std::vector<float> calibratedWith; // per performed step, the value the step took
    int resets = 0;
    int function() const { return function_; }
    std::size_t step() const { return step_; }
    std::size_t stepsLeft() const;

private:
    std::optional<Reply> command(const std::string &line);
    std::optional<Reply> answer(std::string text, char status, std::chrono::milliseconds delay = {});
    std::optional<Reply> prompt();
    bool faultApplies(CalibrationFault kind);

    std::string line_;
    int function_ = 0; // 0: not calibrating
    std::size_t step_ = 0;
    std::optional<float> actual_;
};

} // namespace korvelsim

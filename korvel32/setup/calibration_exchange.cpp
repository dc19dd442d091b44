#include "setup/calibration_exchange.h"

#include <algorithm>
#include <charconv>

namespace korvel {
namespace {

constexpr int kAttempts = 3;
constexpr int kPrompts = 2;
constexpr char kPromptByte = 0x03;
constexpr char kSuccess = '=';
constexpr char kRefused = '!';
// How often the user interface gets its turn while a character is awaited.
constexpr std::chrono::milliseconds kPumpSlice{10};

// The instrument writes its numbers with a point whatever the user's
// regional settings, and so must the logger.
template <typename Number>
bool readNumber(std::string_view text, Number &number) {
    const char *first = text.data();
    const char *last = text.data() + text.size();
    while (first != last && *first == ' ') ++first;
    if (first != last && *first == '+') ++first;
    return first != last && std::from_chars(first, last, number).ec == std::errc();
}

} // namespace

CalibrationExchange::CalibrationExchange(SerialPort &port, UserInterface &ui, CalibrationTimeLimits limits)
        : port_(port), ui_(ui), limits_(limits) {}

CalibrationResult CalibrationExchange::enterCalibration(unsigned mode) {
    return send("CAL " + std::to_string(mode) + "\r\n", limits_.reply);
}

// A value that cannot be read is as good as no answer.
CalibrationResult CalibrationExchange::askReference(float &reference) {
    const CalibrationResult result = send("CAL_REF?\r\n", limits_.reply);
    if (result != CalibrationResult::Success) return result;
    return readNumber(reply_.value(), reference) ? result : CalibrationResult::CommunicationFailure;
}

CalibrationResult CalibrationExchange::tellReference(float actual) {
    char number[32];
    const auto written = std::to_chars(number, number + sizeof number, actual, std::chars_format::general, 7);
    return send("CAL_REF " + std::string(number, written.ptr) + "\r\n", limits_.reply);
}

CalibrationResult CalibrationExchange::performStep() { return send("CAL_STEP?\r\n", limits_.step); }

CalibrationResult CalibrationExchange::askStepsLeft(long &steps) {
    const CalibrationResult result = send("CAL?\r\n", limits_.reply);
    if (result != CalibrationResult::Success) return result;
    return readNumber(reply_.value(), steps) ? result : CalibrationResult::CommunicationFailure;
}

CalibrationResult CalibrationExchange::resetInstrument() { return send("*RST\r\n", limits_.reply, true); }

CalibrationResult CalibrationExchange::send(const std::string &command, std::chrono::milliseconds limit, bool once) {
    const BusyCursor busy(ui_);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        port_.discardInput();
        if (!port_.write(command, limit)) continue;
        const Read read = readReply(limit);
        if (read == Read::Reply && reply_.status() == kSuccess) return CalibrationResult::Success;
        if (read == Read::Reply && reply_.status() == kRefused) return CalibrationResult::Refused;
        if (once) break;
        if (read == Read::TimedOut) promptInstrument();
    }
    return CalibrationResult::CommunicationFailure;
}

// A reply too long for its 30 characters is given up at the first character
// that has no room.
CalibrationExchange::Read CalibrationExchange::readReply(std::chrono::milliseconds limit) {
    reply_.clear();
    for (;;) {
        char character = 0;
        Read failure = Read::Error;
        if (!waitForCharacter(character, limit, failure)) return failure;
        switch (reply_.add(character)) {
            case CalibrationReply::State::Complete: return Read::Reply;
            case CalibrationReply::State::Overlong: return Read::Overlong;
            case CalibrationReply::State::Incomplete: break;
        }
    }
}

// Each character has the whole limit to come.
bool CalibrationExchange::waitForCharacter(char &character, std::chrono::milliseconds limit, Read &failure) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        switch (port_.readCharacter(character, std::clamp(left, std::chrono::milliseconds(0), kPumpSlice))) {
            case SerialPort::ReadResult::Character: return true;
            case SerialPort::ReadResult::Error: failure = Read::Error; return false;
            case SerialPort::ReadResult::Nothing: break;
        }
        ui_.pumpEvents();
        if (std::chrono::steady_clock::now() >= deadline) {
            failure = Read::TimedOut;
            return false;
        }
    }
}

// Anything coming back shows that the instrument is there and listening
// again; an instrument that stays silent still gets the next attempt.
void CalibrationExchange::promptInstrument() {
    for (int prompt = 0; prompt < kPrompts; ++prompt) {
        if (!port_.write(std::string_view(&kPromptByte, 1), limits_.prompt)) continue;
        const Read read = readReply(limits_.prompt);
        if (read == Read::Reply || read == Read::Overlong) return;
    }
}

} // namespace korvel

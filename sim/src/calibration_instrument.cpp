#include "calibration_instrument.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvelsim {

namespace {

constexpr char kPromptByte = 0x03;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
constexpr std::size_t kLongestLine = 128; // a longer line is noise, not a command
constexpr std::size_t kOverlongReply = 40;
constexpr char kDone = '=';
constexpr char kRefused = '!';
constexpr float kTolerance = 0.1f;      // an actual value within 10 % of the reference is taken
constexpr float kZeroTolerance = 0.01f; // around a zero reference

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

std::optional<double> numberOf(const std::string &text) {
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

} // namespace

CalibrationInstrument::CalibrationInstrument()
        : references{{{0.0f, 0.09f, 0.3f, 3.0f, 30.0f, 50.0f},
                      {0.3f, 3.0f, 30.0f},
                      {300.0f, 3000.0f, 30000.0f, 300000.0f, 3000000.0f},
                      {1000.0f, 100000.0f}}} {}

bool CalibrationInstrument::understands(const LineSettings &line) const {
    return line.baud == baud && line.dataBits == 8 && !line.parity && line.stopBits == 1;
}

std::size_t CalibrationInstrument::stepsLeft() const {
    if (function_ == 0) return 0;
    const std::size_t steps = references[static_cast<std::size_t>(function_ - 1)].size();
    return step_ < steps ? steps - step_ : 0;
}

std::vector<CalibrationInstrument::Reply> CalibrationInstrument::receive(std::string_view bytes) {
    std::vector<Reply> replies;
    for (const char byte : bytes) {
        std::optional<Reply> reply;
        if (byte == kPromptByte) {
            line_.clear();
            received.push_back("<03>");
            reply = prompt();
        } else if (byte == '\n') {
            if (!line_.empty() && line_.back() == '\r') line_.pop_back();
            received.push_back(line_);
            reply = command(line_);
            line_.clear();
        } else if (byte != kXon && byte != kXoff && line_.size() < kLongestLine) {
            line_ += byte;
        }
        if (reply) replies.push_back(std::move(*reply));
    }
    return replies;
}

std::optional<CalibrationInstrument::Reply> CalibrationInstrument::command(const std::string &line) {
    const std::string text = upperCase(line);
    const std::vector<float> *steps = function_ == 0 ? nullptr : &references[static_cast<std::size_t>(function_ - 1)];
    const bool stepOpen = steps != nullptr && step_ < steps->size();
    if (text.rfind("CAL ", 0) == 0) {
        const std::optional<double> mode = numberOf(text.substr(4));
        if (!calibrationEnabled || !mode || *mode < 1 || *mode > kFunctions || *mode != std::floor(*mode)) {
            return answer("", kRefused);
        }
        function_ = static_cast<int>(*mode);
        step_ = 0;
        actual_.reset();
        return answer("", kDone);
    }
    if (text == "CAL_REF?") {
        return stepOpen ? answer(numberText((*steps)[step_]), kDone) : answer("", kRefused);
    }
    if (text.rfind("CAL_REF ", 0) == 0) {
        const std::optional<double> value = numberOf(text.substr(8));
        if (!stepOpen || !value) return answer("", kRefused);
        const float reference = (*steps)[step_];
        const float allowed = std::max(std::fabs(reference) * kTolerance, kZeroTolerance);
        if (std::fabs(static_cast<float>(*value) - reference) > allowed) return answer("", kRefused);
        actual_ = static_cast<float>(*value);
        return answer("", kDone);
    }
    if (text == "CAL_STEP?") {
        if (!stepOpen) return answer("", kRefused);
        if (badInputs > 0) {
            --badInputs;
            return answer("", kRefused, stepTime);
        }
        calibratedWith.push_back(actual_.value_or((*steps)[step_]));
        ++step_;
        actual_.reset();
        return answer("", kDone, stepTime);
    }
    if (text == "CAL?") {
        return function_ == 0 ? answer("", kRefused) : answer(std::to_string(stepsLeft()), kDone);
    }
    if (text == "*RST") {
        function_ = 0;
        step_ = 0;
        actual_.reset();
        ++resets;
        return answer("", kDone);
    }
    return answer("", kRefused);
}

std::optional<CalibrationInstrument::Reply> CalibrationInstrument::answer(std::string text, char status,
                                                                          std::chrono::milliseconds delay) {
    if (faultApplies(CalibrationFault::Silent) || faultApplies(CalibrationFault::PromptOnly)) return std::nullopt;
    text += status;
    if (faultApplies(CalibrationFault::Garbled)) {
        for (char &c : text) c = static_cast<char>(c ^ 0x80);
    } else if (faultApplies(CalibrationFault::Overlong) && text.size() + 3 < kOverlongReply) {
        text.insert(0, kOverlongReply - text.size() - 3, ' ');
    }
    return Reply{text + ">\r\n", delay};
}

std::optional<CalibrationInstrument::Reply> CalibrationInstrument::prompt() {
    if (faultApplies(CalibrationFault::Silent)) return std::nullopt;
    return Reply{std::string(1, kDone) + ">\r\n", {}};
}

bool CalibrationInstrument::faultApplies(CalibrationFault kind) {
    if (fault != kind) return false;
    if (faultReplies && --*faultReplies <= 0) {
        fault = CalibrationFault::None;
        faultReplies.reset();
    }
    return true;
}

} // namespace korvelsim

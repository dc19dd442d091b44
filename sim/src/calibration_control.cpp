#include "calibration_control.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "control_words.h"

namespace korvelsim {

namespace {

CalibrationFault toFault(const std::string &text) {
    static const std::map<std::string, CalibrationFault> kNames{{"none", CalibrationFault::None},
                                                                {"silent", CalibrationFault::Silent},
                                                                {"prompt-only", CalibrationFault::PromptOnly},
                                                                {"garbled", CalibrationFault::Garbled},
                                                                {"long", CalibrationFault::Overlong}};
    const auto found = kNames.find(text);
    if (found == kNames.end()) {
        throw ControlError("fault must be none, silent, prompt-only, garbled or long: " + text);
    }
    return found->second;
}

std::string numbers(const std::vector<float> &values) {
    std::string text;
    for (const float value : values) {
        char number[32];
        std::snprintf(number, sizeof number, " %.7g", static_cast<double>(value));
        text += number;
    }
    return text;
}

void needArguments(const std::vector<std::string> &args, std::size_t count, const std::string &command) {
    if (args.size() < count) {
        throw ControlError("too few arguments for serial " + command);
    }
}

} // namespace

CalibrationControl::CalibrationControl(CalibrationPort &port, CalibrationInstrument &instrument)
        : port_(port), instrument_(instrument) {}

std::string CalibrationControl::execute(const std::vector<std::string> &words) {
    if (words.empty()) {
        return "error serial needs a command";
    }
    try {
        return run(words[0], std::vector<std::string>(words.begin() + 1, words.end()));
    } catch (const std::exception &problem) {
        return std::string("error ") + problem.what();
    }
}

std::string CalibrationControl::run(const std::string &command, const std::vector<std::string> &args) {
    CalibrationInstrument &device = instrument_;
    if (command == "path") {
        return "ok " + port_.path();
    }
    if (command == "state") {
        return describeState();
    }
    if (command == "received") {
        if (args.empty()) {
            return "ok " + std::to_string(device.received.size());
        }
        const int index = toCount(args[0]);
        if (static_cast<std::size_t>(index) >= device.received.size()) {
            throw ControlError("nothing received as " + args[0]);
        }
        return "ok " + device.received[static_cast<std::size_t>(index)];
    }
    if (command == "calibrated") {
        return "ok" + numbers(device.calibratedWith);
    }
    if (command == "forget") {
        device.received.clear();
        device.calibratedWith.clear();
        return "ok";
    }
    if (command == "enable") {
        needArguments(args, 1, command);
        device.calibrationEnabled = toSwitch(args[0]);
    } else if (command == "baud") {
        needArguments(args, 1, command);
        device.baud = static_cast<unsigned>(toCount(args[0]));
    } else if (command == "steps") {
        needArguments(args, 1, command);
        const int function = toCount(args[0]);
        if (function < 1 || function > CalibrationInstrument::kFunctions) {
            throw ControlError("function must be 1..4: " + args[0]);
        }
        std::vector<float> references;
        for (std::size_t i = 1; i < args.size(); ++i) {
            references.push_back(toFloat(args[i]));
        }
        device.references[static_cast<std::size_t>(function - 1)] = references;
    } else if (command == "step-time") {
        needArguments(args, 1, command);
        device.stepTime = std::chrono::milliseconds(toCount(args[0]));
    } else if (command == "bad-input") {
        needArguments(args, 1, command);
        device.badInputs = toCount(args[0]);
    } else if (command == "fault") {
        needArguments(args, 1, command);
        const CalibrationFault fault = toFault(args[0]);
        std::optional<int> replies;
        if (args.size() > 1 && (replies = toCount(args[1])) == 0) {
            throw ControlError("fault count must be at least 1");
        }
        device.fault = fault;
        device.faultReplies = fault == CalibrationFault::None ? std::nullopt : replies;
    } else {
        throw ControlError("unknown serial command: " + command);
    }
    return "ok";
}

std::string CalibrationControl::describeState() const {
    const CalibrationInstrument &device = instrument_;
    const LineSettings line = port_.lineSettings();
    std::ostringstream out;
    out << "ok enabled=" << device.calibrationEnabled << " function=" << device.function() << " step=" << device.step()
        << " left=" << device.stepsLeft() << " resets=" << device.resets << " line=" << line.baud << "-"
        << line.dataBits << (line.parity ? "P" : "N") << line.stopBits << " xonxoff=" << line.xonXoff
        << " noise=" << port_.noiseChunks();
    return out.str();
}

} // namespace korvelsim

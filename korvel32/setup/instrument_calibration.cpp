#include "setup/instrument_calibration.h"

#include <array>

#include "platform/string_table.h"

namespace korvel {
namespace {

constexpr int kFirstBaudName = 160; // "4800" .. "38.4K"
constexpr int kFirstPortName = 164; // "COM1" .. "COM4"
constexpr std::array<unsigned, 4> kBaudRates{4800, 9600, 19200, 38400};
constexpr int kPorts = 4;

std::vector<std::string> namesFrom(int firstId, int count) {
    std::vector<std::string> names;
    for (int id = firstId; id < firstId + count; ++id) names.push_back(resourceString(id));
    return names;
}

bool inRange(int index, int count) { return index >= 0 && index < count; }

} // namespace

std::vector<std::string> calibrationPortNames() { return namesFrom(kFirstPortName, kPorts); }

std::vector<std::string> calibrationBaudNames() {
    return namesFrom(kFirstBaudName, static_cast<int>(kBaudRates.size()));
}

InstrumentCalibration::InstrumentCalibration(CalibrationPortSettings &settings, UserInterface &ui,
                                             CalibrationTimeLimits limits)
        : settings_(settings), ui_(ui), limits_(limits) {}

void InstrumentCalibration::selectPort(int index) {
    if (inRange(index, kPorts)) settings_.port = index;
}

void InstrumentCalibration::selectBaud(int index) {
    if (inRange(index, static_cast<int>(kBaudRates.size()))) settings_.baud = index;
}

bool InstrumentCalibration::openPort(SerialPort &port) const {
    return port.open(serialPortPath(static_cast<unsigned>(settings_.port) + 1),
                     kBaudRates[static_cast<std::size_t>(settings_.baud)]);
}

void InstrumentCalibration::calibrate(const std::function<void(CalibrationExchange &)> &runSteps) {
    SerialPort port;
    if (!openPort(port)) {
        showError(ui_, message::kSerialPortUnavailable);
        return;
    }
    CalibrationExchange exchange(port, ui_, limits_);
    runSteps(exchange);
    calibrationRun_ = true;
}

// A port that cannot be opened now leaves nothing to do: the dialog is closing.
void InstrumentCalibration::resetAfterCalibration() {
    if (!calibrationRun_) return;
    SerialPort port;
    if (!openPort(port)) return;
    CalibrationExchange(port, ui_, limits_).resetInstrument();
}

} // namespace korvel

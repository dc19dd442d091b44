// The control lines of the calibration port: "serial <command> <arguments...>",
// answered like every control line with "ok [values]" or "error <text>".
#pragma once

#include <string>
#include <vector>

#include "calibration_instrument.h"
#include "calibration_port.h"

namespace korvelsim {

class CalibrationControl {
public:
    CalibrationControl(CalibrationPort &port, CalibrationInstrument &instrument);

    // The words after "serial".
    std::string execute(const std::vector<std::string> &words);

private:
    std::string run(const std::string &command, const std::vector<std::string> &args);
    std::string describeState() const;

    CalibrationPort &port_;
    CalibrationInstrument &instrument_;
};

} // namespace korvelsim

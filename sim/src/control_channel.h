// The control channel: one line in, one line out ("ok [values]" or
// "error <text>"). Lines read "<command> <bcn|*> <arguments...>".
#pragma once

#include <string>
#include <vector>

#include "calibration_control.h"
#include "server.h"
#include "sim_instrument.h"

namespace korvelsim {

class ControlChannel {
public:
    ControlChannel(std::vector<SimInstrument> &instruments, Server &server);

    std::string execute(const std::string &line);
    // The same words given on the command line: fault commands only.
    std::string executeFault(const std::string &line);
    // Lines beginning "serial" go to the calibration port from now on.
    void attachCalibrationPort(CalibrationControl &calibration) { calibration_ = &calibration; }

private:
    std::string run(const std::string &line, bool faultsOnly);

    std::vector<SimInstrument> &instruments_;
    Server &server_;
    CalibrationControl *calibration_ = nullptr;
};

} // namespace korvelsim

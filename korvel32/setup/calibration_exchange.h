// The commands of an instrument's calibration port, one exchange at a time
// over an open serial line. A command is tried up to three times; after an
// attempt that met silence the instrument is prompted with 0x03, twice when
// the first prompt goes unanswered. While it waits the user interface is
// kept alive.
#pragma once

#include <chrono>
#include <string>

#include "platform/serial_port.h"
#include "platform/user_interface.h"
#include "setup/calibration_reply.h"

namespace korvel {

enum class CalibrationResult {
    Success = 0,
    Refused = -1,              // the instrument answered "!"
    CommunicationFailure = -2, // no usable answer after every attempt
};

// How long the instrument may take for each character of a reply. The
// instrument's own limits are the defaults; tests shorten them.
struct CalibrationTimeLimits {
    std::chrono::milliseconds reply{2000};
    std::chrono::milliseconds step{20000}; // a calibration step measures first
    std::chrono::milliseconds prompt{2000};
};

class CalibrationExchange {
public:
    CalibrationExchange(SerialPort &port, UserInterface &ui, CalibrationTimeLimits limits = {});

    // "CAL %u": calibration of the function with that mode number begins.
    CalibrationResult enterCalibration(unsigned mode);
    // "CAL_REF?": the reference value to apply for the current step.
    CalibrationResult askReference(float &reference);
    // "CAL_REF %.7g": the value actually applied.
    CalibrationResult tellReference(float actual);
    // "CAL_STEP?": the instrument measures and calibrates the current step.
    CalibrationResult performStep();
    // "CAL?": how many steps remain, 0 when the calibration is complete.
    CalibrationResult askStepsLeft(long &steps);
    // "*RST", sent once whatever comes back.
    CalibrationResult resetInstrument();

private:
    enum class Read { Reply, Overlong, TimedOut, Error };

    CalibrationResult send(const std::string &command, std::chrono::milliseconds limit, bool once = false);
    Read readReply(std::chrono::milliseconds limit);
    bool waitForCharacter(char &character, std::chrono::milliseconds limit, Read &failure);
    void promptInstrument();

    SerialPort &port_;
    UserInterface &ui_;
    CalibrationTimeLimits limits_;
    CalibrationReply reply_;
};

} // namespace korvel

// The switches and the setup file name given to korvel32 at launch.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct CommandLine {
    bool calibration = false;   // C: keep "Instrument &Calibration..." in the Utilities menu
    bool startAll = false;      // G: Start All Instruments once start-up is done
    bool noSplash = false;      // S: no splash window
    bool surviveLogOff = false; // X: a log-off does not close the program
    std::string setupFile;      // the last file name given; empty for none
};

// Scans a command-line text. Tokens are separated by blanks; a token in
// double quotes may hold blanks and is always a file name. A slash followed by
// a letter is a switch, in either case; any other token is a setup file name.
CommandLine parseCommandLine(std::string_view text);

// Scans arguments the system has already split (argv without the program).
CommandLine parseArguments(const std::vector<std::string> &arguments);

} // namespace korvel

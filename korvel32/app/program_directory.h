// The program directory: where korvel32.ini, general.txt and the add-on
// libraries lie beside the program.
#pragma once

#include <string>

namespace korvel {

// The directory part of a program file name, ending in '/': everything up to
// and including the last slash (empty when there is none).
std::string directoryOf(const std::string &programFile);

// KORVEL32_HOME when it is set and not empty (with a '/' added when it does
// not end in one), else the directory of the running program file.
std::string programDirectory();

} // namespace korvel

// Runs a program's command line through the shell, as a script runs it, and
// collects its exit status, standard output and standard error.
#pragma once

#include <string>

namespace kvtest {

struct ProgramRun {
    int status = -1; // the exit status; 128 + the signal that ended it; -1 when it did not end in time
    std::string out;
    std::string err;
};

// commandLine may begin with environment assignments ("NAME='value' program ...").
ProgramRun runProgram(const std::string &commandLine);

} // namespace kvtest

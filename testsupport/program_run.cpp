#include "program_run.h"

#include "child_process.h"

namespace kvtest {

ProgramRun runProgram(const std::string &commandLine) {
    constexpr int kLongestRunMs = 120000;
    const ProgramResult result = runProgram({"/bin/sh", "-c", commandLine}, kLongestRunMs);
    return {result.exitCode, result.output, result.errors};
}

} // namespace kvtest

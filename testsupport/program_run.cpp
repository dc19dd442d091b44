#include "program_run.h"

#include "temp_dir.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kvtest {

ProgramRun runProgram(const std::string &commandLine) {
    const TempDir scratch;
    const std::string errPath = scratch.path() + "/stderr.txt";
    ProgramRun result;
    FILE *pipe = popen((commandLine + " 2>'" + errPath + "'").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, count);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ostringstream err;
    err << std::ifstream(errPath, std::ios::binary).rdbuf();
    result.err = err.str();
    return result;
}

} // namespace kvtest

// A program run as a child process, its standard output and error caught,
// for tests that use a tool the way a user or a script would.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace kvtest {

class ChildProcess {
public:
    // Starts argv[0] with the test's environment; throws std::runtime_error
    // when it cannot be started.
    explicit ChildProcess(const std::vector<std::string> &argv);
    // Kills the child if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // The next line of its standard output; false when none comes in time
    // (0: none is there yet) or the output has ended.
    bool readLine(std::string &line, int timeoutMs);
    // Its exit code once it has ended (128 + the signal when a signal ended
    // it), taking in its output meanwhile; -1 when it does not end in time.
    int wait(int timeoutMs);
    void signal(int number);

    // What it wrote so far, beyond the lines already read.
    const std::string &output() const { return output_; }
    const std::string &errors() const { return errors_; }

private:
    // Takes in what the pipes hold, waiting at most timeoutMs for something.
    void collect(int timeoutMs);

    pid_t pid_ = -1;
    int outputFd_ = -1;
    int errorsFd_ = -1;
    std::string output_;
    std::string errors_;
    int status_ = -1;
};

struct ProgramResult {
    int exitCode = -1; // -1: it did not end in time and was killed
    std::string output;
    std::string errors;
};

// Runs a program to its end, bounded by timeoutMs.
ProgramResult runProgram(const std::vector<std::string> &argv, int timeoutMs);

} // namespace kvtest

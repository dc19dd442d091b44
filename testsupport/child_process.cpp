#include "child_process.h"

#include "wait_for.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace kvtest {
namespace {

using SteadyClock = std::chrono::steady_clock;

// False once the pipe has ended.
bool drain(int &fd, std::string &into) {
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof(chunk));
        if (got > 0) {
            into.append(chunk, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return true;
        ::close(fd);
        fd = -1;
        return false;
    }
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string> &argv) {
    int output[2];
    int errors[2];
    if (::pipe2(output, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe");
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        ::close(output[0]);
        ::close(output[1]);
        throw std::runtime_error("cannot create a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    std::vector<std::string> words = argv;
    std::vector<char *> pointers;
    for (std::string &word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(errors[1]);
    outputFd_ = output[0];
    errorsFd_ = errors[0];
    ::fcntl(outputFd_, F_SETFL, O_NONBLOCK);
    ::fcntl(errorsFd_, F_SETFL, O_NONBLOCK);
    if (spawned != 0) {
        ::close(outputFd_);
        ::close(errorsFd_);
        throw std::runtime_error("cannot start " + argv.at(0));
    }
}

ChildProcess::~ChildProcess() {
    if (status_ < 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (outputFd_ >= 0) ::close(outputFd_);
    if (errorsFd_ >= 0) ::close(errorsFd_);
}

void ChildProcess::collect(int timeoutMs) {
    pollfd pipes[2] = {{outputFd_, POLLIN, 0}, {errorsFd_, POLLIN, 0}};
    if (::poll(pipes, 2, timeoutMs) <= 0) return;
    if (outputFd_ >= 0 && pipes[0].revents) drain(outputFd_, output_);
    if (errorsFd_ >= 0 && pipes[1].revents) drain(errorsFd_, errors_);
}

bool ChildProcess::readLine(std::string &line, int timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    // Once the time is up what the pipe holds is still taken in, so that a
    // time-out of 0 reads without waiting.
    for (bool last = false;;) {
        const std::size_t end = output_.find('\n');
        if (end != std::string::npos) {
            line = output_.substr(0, end);
            output_.erase(0, end + 1);
            return true;
        }
        if (outputFd_ < 0 || last) return false;
        const int left = millisecondsLeft(deadline);
        last = left == 0;
        collect(std::min(left, 50));
    }
}

int ChildProcess::wait(int timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    while (status_ < 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (millisecondsLeft(deadline) == 0) return -1;
        collect(std::min(millisecondsLeft(deadline), 20));
    }
    // What it wrote just before it ended.
    if (outputFd_ >= 0) drain(outputFd_, output_);
    if (errorsFd_ >= 0) drain(errorsFd_, errors_);
    return status_;
}

void ChildProcess::signal(int number) {
    if (status_ < 0) ::kill(pid_, number);
}

ProgramResult runProgram(const std::vector<std::string> &argv, int timeoutMs) {
    ChildProcess child(argv);
    ProgramResult result;
    result.exitCode = child.wait(timeoutMs);
    result.output = child.output();
    result.errors = child.errors();
    return result;
}

} // namespace kvtest

#include "sim_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kvtest {

namespace {

// Generous: the sanitizer build starts and answers much more slowly.
constexpr int kStartTimeoutMs = 20000;
constexpr int kReplyTimeoutMs = 10000;
constexpr int kQuitTimeoutMs = 5000;

std::string afterOk(const std::string &reply, const std::string &line) {
    if (reply.rfind("ok", 0) != 0) {
        throw std::runtime_error("korvel-sim refused \"" + line + "\": " + reply);
    }
    return reply.size() > 3 ? reply.substr(3) : "";
}

} // namespace

SimProcess::SimProcess(const std::vector<std::string> &args) {
    int control[2];
    int output[2];
    int errors[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, control) != 0 || pipe2(output, O_CLOEXEC) != 0 ||
        pipe2(errors, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create pipes for korvel-sim");
    }
    std::vector<std::string> words{KORVEL_SIM_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ == 0) {
        dup2(control[1], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(errors[1], STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(control[1]);
    close(output[1]);
    close(errors[1]);
    controlSocket_ = control[0];
    output_ = output[0];
    errors_ = errors[0];
    if (pid_ < 0) {
        throw std::runtime_error("cannot fork korvel-sim");
    }
    std::string ready = readLine(kStartTimeoutMs);
    if (ready.rfind("serial ", 0) == 0) {
        serialPath_ = ready.substr(7);
        ready = readLine(kStartTimeoutMs);
    }
    if (ready.rfind("ready port=", 0) != 0) {
        const std::string stderrText = collectStderr();
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        close(controlSocket_);
        close(output_);
        close(errors_);
        throw std::runtime_error("korvel-sim did not start: " + stderrText);
    }
    basePort_ = std::stoi(ready.substr(11));
}

SimProcess::~SimProcess() {
    static const char quit[] = "quit\n";
    send(controlSocket_, quit, sizeof quit - 1, MSG_NOSIGNAL);
    close(controlSocket_);
    const bool ended = waitFor([this] { return waitpid(pid_, nullptr, WNOHANG) == pid_; }, kQuitTimeoutMs);
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close(output_);
    close(errors_);
}

std::string SimProcess::control(const std::string &line) {
    const std::string text = line + "\n";
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(controlSocket_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR) {
            throw std::runtime_error("korvel-sim control channel closed");
        }
        sent += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    const std::string reply = readLine(kReplyTimeoutMs);
    if (reply.empty()) {
        throw std::runtime_error("no reply from korvel-sim to \"" + line + "\"");
    }
    return reply;
}

std::vector<std::pair<int, std::string>> SimProcess::requestLog(int bcn) {
    const std::string prefix = "request " + std::to_string(bcn) + " ";
    const int count = std::stoi(afterOk(control("requests " + std::to_string(bcn)), "requests"));
    std::vector<std::pair<int, std::string>> log;
    for (int i = 0; i < count; ++i) {
        const std::string fields = afterOk(control(prefix + std::to_string(i)), prefix);
        log.emplace_back(std::stoi(fields), fields.substr(fields.find(' ') + 1));
    }
    return log;
}

std::vector<std::string> SimProcess::requests(int bcn) {
    std::vector<std::string> hex;
    for (auto &entry : requestLog(bcn)) {
        hex.push_back(std::move(entry.second));
    }
    return hex;
}

std::vector<int> SimProcess::requestCommands(int bcn) {
    std::vector<int> commands;
    for (const auto &entry : requestLog(bcn)) {
        commands.push_back(entry.first);
    }
    return commands;
}

ScanCounters SimProcess::counters(int bcn) {
    const std::string line = "counters " + std::to_string(bcn);
    const std::string fields = " " + afterOk(control(line), line);
    const auto value = [&](const std::string &name) {
        const std::size_t at = fields.find(" " + name + "=");
        if (at == std::string::npos) {
            throw std::runtime_error("korvel-sim's counters lack " + name + ":" + fields);
        }
        return std::stol(fields.substr(at + name.size() + 2));
    };
    return {value("produced"), value("fetched"), value("lost"), value("cleared"), value("queued")};
}

std::vector<std::string> SimProcess::serialReceived() {
    const int count = std::stoi(afterOk(control("serial received"), "serial received"));
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        const std::string line = "serial received " + std::to_string(i);
        lines.push_back(afterOk(control(line), line));
    }
    return lines;
}

std::string SimProcess::serialState(const std::string &key) {
    const std::string fields = " " + afterOk(control("serial state"), "serial state") + " ";
    const std::size_t at = fields.find(" " + key + "=");
    if (at == std::string::npos) {
        throw std::runtime_error("korvel-sim's serial state lacks " + key + ":" + fields);
    }
    const std::size_t start = at + key.size() + 2;
    return fields.substr(start, fields.find(' ', start) - start);
}

// One line of the simulator's stdout without its newline; empty on time-out or end.
std::string SimProcess::readLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        pollfd watched{output_, POLLIN, 0};
        const int ready = poll(&watched, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = ready > 0 ? read(output_, buffer, sizeof buffer) : 0;
        if (n <= 0) {
            return {};
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string SimProcess::collectStderr() {
    std::string text;
    char buffer[4096];
    pollfd watched{errors_, POLLIN, 0};
    while (poll(&watched, 1, 1000) > 0) {
        const ssize_t n = read(errors_, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

} // namespace kvtest

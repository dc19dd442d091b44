#include "remote_arguments.h"

#include "qpext32.h"

#include <charconv>

namespace korvel_remote {
namespace {

constexpr std::uint32_t kMaxBcn = 99;

std::optional<std::uint32_t> wholeNumber(const std::string &text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> bcn(const std::string &text) {
    const auto value = wholeNumber(text);
    return value && *value >= 1 && *value <= kMaxBcn ? value : std::nullopt;
}

// The words of one command: the first names it, the rest are its own.
std::optional<RemoteRequest> command(const std::vector<std::string> &words, std::string &problem) {
    RemoteRequest request;
    const std::string &name = words.at(0);
    const std::size_t count = words.size();
    const auto wrong = [&](const char *form) {
        problem = std::string("usage: korvel-remote ") + form;
        return std::nullopt;
    };
    if (name == "start" || name == "stop" || name == "watch") {
        const auto instrument = count == 2 ? bcn(words[1]) : std::nullopt;
        if (!instrument) return wrong(name == "watch" ? "watch BCN" : name == "start" ? "start BCN" : "stop BCN");
        request.argument = *instrument;
        if (name == "watch")
            request.kind = RemoteRequest::Kind::Watch;
        else
            request.code = name == "start" ? QPEXT32_START_INSTRUMENT : QPEXT32_STOP_INSTRUMENT;
    } else if (name == "start-all" || name == "stop-all" || name == "status") {
        if (count != 1) return wrong(name.c_str());
        if (name == "status") request.kind = RemoteRequest::Kind::Status;
        request.code = name == "start-all" ? QPEXT32_START_ALL : name == "stop-all" ? QPEXT32_STOP_ALL : 0;
    } else if (name == "open") {
        const bool keep = count == 3 && words[1] == "--keep-changes";
        if (count != 2 && !keep) return wrong("open [--keep-changes] FILE");
        request.code = keep ? QPEXT32_OPEN_SETUP_KEEPING : QPEXT32_OPEN_SETUP;
        request.openPath = words.back();
    } else if (name == "save-and-open") {
        const bool saveTo = count == 4 && words[1] == "--save-to";
        if (count != 2 && !saveTo) return wrong("save-and-open [--save-to SAVEFILE] FILE");
        request.code = QPEXT32_SAVE_AND_OPEN_SETUP;
        if (saveTo) request.savePath = words[2];
        request.openPath = words.back();
    } else if (name == "load-mxb") {
        const auto instrument = count == 3 ? bcn(words[1]) : std::nullopt;
        if (!instrument) return wrong("load-mxb BCN FILE");
        request.code = QPEXT32_LOAD_MXB_FILE;
        request.argument = *instrument;
        request.openPath = words[2];
    } else if (name == "remote-mode") {
        if (count != 2 || (words[1] != "on" && words[1] != "off")) return wrong("remote-mode on|off");
        request.code = QPEXT32_SWITCH_REMOTE_MODE;
        request.argument = words[1] == "on" ? 1 : 0;
    } else {
        problem = "unknown command \"" + name + "\"";
        return std::nullopt;
    }
    if (request.code >= QPEXT32_OPEN_SETUP_KEEPING && request.code <= QPEXT32_LOAD_MXB_FILE &&
        request.openPath.empty()) {
        problem = "the file name is empty";
        return std::nullopt;
    }
    // A line break would end the protocol line early and start another.
    if ((request.openPath + request.savePath).find_first_of("\r\n") != std::string::npos) {
        problem = "a file name cannot hold a line break";
        return std::nullopt;
    }
    return request;
}

} // namespace

const char *const kUsage = "usage: korvel-remote [--timeout SECONDS] COMMAND\n"
                           "  start BCN | start-all | stop BCN | stop-all\n"
                           "  open [--keep-changes] FILE\n"
                           "  save-and-open [--save-to SAVEFILE] FILE\n"
                           "  load-mxb BCN FILE\n"
                           "  remote-mode on|off\n"
                           "  watch BCN        scans as CSV lines until interrupted\n"
                           "  status\n"
                           "A FILE that does not begin with / is taken from the logger's program directory.\n"
                           "Exit status: 0 done, 1 refused by the logger, 2 no logger answers, 64 bad usage.\n";

std::optional<RemoteRequest> parseArguments(const std::vector<std::string> &arguments, std::string &problem) {
    std::size_t first = 0;
    int timeout = kDefaultTimeoutSeconds;
    if (!arguments.empty() && arguments[0] == "--timeout") {
        const auto seconds = arguments.size() > 1 ? wholeNumber(arguments[1]) : std::nullopt;
        if (!seconds || *seconds == 0 || *seconds > 86400) {
            problem = "--timeout takes a number of seconds, 1 to 86400";
            return std::nullopt;
        }
        timeout = static_cast<int>(*seconds);
        first = 2;
    }
    if (first >= arguments.size()) {
        problem = "no command given";
        return std::nullopt;
    }
    auto request = command({arguments.begin() + static_cast<std::ptrdiff_t>(first), arguments.end()}, problem);
    if (request) request->timeoutSeconds = timeout;
    return request;
}

} // namespace korvel_remote

#include "dde_arguments.h"

#include "app/live_values_protocol.h"

#include <charconv>

namespace korvel_dde {

const char *const kUsage = "usage: korvel-dde [--service NAME] [--timeout SECONDS] COMMAND\n"
                           "  topics                        the topics the logger serves, one a line\n"
                           "  request TOPIC ITEM            the item's value now\n"
                           "  advise [--csv] TOPIC ITEM...  the items' values at every update, one line each\n"
                           "                                with the local time, until interrupted; --csv\n"
                           "                                writes a header and comma-separated columns\n"
                           "  TOPIC is System or BCNnn (BCN07); ITEM is Topics, SysItems or Formats of\n"
                           "  System, or ELDATETIME, ALARM1, ALARM2, DIO, TOTALIZER or c1..c30 of an\n"
                           "  instrument. --service names the logger (default korvel32); --timeout bounds\n"
                           "  each answer (default 10 s). Exit status: 0 done, 1 topic or item refused,\n"
                           "  2 no logger answers or the command line is wrong.\n";

namespace {

// A day at most: the bound is counted in milliseconds in an int.
constexpr int kLongestTimeoutSeconds = 86400;

std::optional<int> seconds(const std::string &text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kLongestTimeoutSeconds)
        return std::nullopt;
    return value;
}

// A word of the protocol: a blank or a line break would split the request.
bool isWord(const std::string &text) { return !text.empty() && text.find_first_of(" \t\r\n") == std::string::npos; }

} // namespace

std::optional<DdeCommand> parseArguments(const std::vector<std::string> &arguments, std::string &problem) {
    DdeCommand command;
    command.service = korvel::live_protocol::kDefaultService;
    std::size_t at = 0;
    for (; at < arguments.size() && arguments[at].starts_with("--"); at += 2) {
        const std::string &option = arguments[at];
        if (at + 1 >= arguments.size()) {
            problem = option + " needs a value";
            return std::nullopt;
        }
        const std::string &value = arguments[at + 1];
        if (option == "--service" && isWord(value) && value.find('/') == std::string::npos) {
            command.service = value;
        } else if (option == "--timeout" && seconds(value)) {
            command.timeoutSeconds = *seconds(value);
        } else {
            problem =
                option == "--service" || option == "--timeout" ? "bad value for " + option : "unknown option " + option;
            return std::nullopt;
        }
    }
    if (at == arguments.size()) {
        problem = "no command";
        return std::nullopt;
    }
    const std::string name = arguments[at++];
    if (name == "advise" && at < arguments.size() && arguments[at] == "--csv") {
        command.csv = true;
        ++at;
    }
    const std::vector<std::string> words(arguments.begin() + static_cast<std::ptrdiff_t>(at), arguments.end());
    for (const std::string &word : words) {
        if (!isWord(word)) {
            problem = "a topic or item is one word: \"" + word + "\"";
            return std::nullopt;
        }
    }
    if (name == "topics" && words.empty()) {
        command.kind = DdeCommand::Kind::Topics;
    } else if (name == "request" && words.size() == 2) {
        command.kind = DdeCommand::Kind::Request;
    } else if (name == "advise" && words.size() >= 2) {
        command.kind = DdeCommand::Kind::Advise;
    } else {
        problem = name == "topics" || name == "request" || name == "advise" ? "wrong arguments for " + name
                                                                            : "unknown command \"" + name + "\"";
        return std::nullopt;
    }
    if (!words.empty()) {
        command.topic = words[0];
        command.items.assign(words.begin() + 1, words.end());
    }
    return command;
}

} // namespace korvel_dde

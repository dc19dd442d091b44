#include "headless_options.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace korvel {

namespace {

bool parseSeconds(const std::string &text, double &seconds) {
    char *end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && seconds >= 0;
}

// The name becomes a file name beside the other services' sockets.
bool isServiceName(const std::string &name) {
    constexpr std::size_t kLongest = 64;
    if (name.empty() || name.size() > kLongest || name.front() == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
    });
}

} // namespace

std::optional<HeadlessOptions> parseHeadlessOptions(const std::vector<std::string> &arguments, std::string &error) {
    HeadlessOptions options;
    std::vector<std::string> loggerArguments;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--headless") {
            // the switch that chose this front end
        } else if (argument == "--answer") {
            const std::string answer = i + 1 < arguments.size() ? arguments[i + 1] : std::string();
            if (answer != "yes" && answer != "no") {
                error = "--answer needs yes or no";
                return std::nullopt;
            }
            options.answers = answer == "yes" ? AnswerPolicy::Accept : AnswerPolicy::Refuse;
            ++i;
        } else if (argument == "--duration") {
            double seconds = 0;
            if (i + 1 >= arguments.size() || !parseSeconds(arguments[i + 1], seconds)) {
                error = "--duration needs a number of seconds";
                return std::nullopt;
            }
            options.durationSeconds = seconds;
            ++i;
        } else if (argument == "--service") {
            if (i + 1 >= arguments.size() || !isServiceName(arguments[i + 1])) {
                error = "--service needs a name of letters, digits, '.', '_' or '-' (not beginning with '.')";
                return std::nullopt;
            }
            options.serviceName = arguments[++i];
        } else if (argument.starts_with("--")) {
            error = "unknown option " + argument;
            return std::nullopt;
        } else {
            loggerArguments.push_back(argument);
        }
    }
    options.commandLine = parseArguments(loggerArguments);
    return options;
}

} // namespace korvel

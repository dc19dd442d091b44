#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace korvel {
namespace {

// An absolute path also begins with a slash; only a slash without a second one
// is read as a switch, so "/g" and "/G" are switches and "/home/a.stp" is not.
bool isSwitch(std::string_view token) {
    return token.size() >= 2 && token.front() == '/' && token.find('/', 1) == std::string_view::npos;
}

void applySwitch(char letter, CommandLine &line) {
    switch (std::tolower(static_cast<unsigned char>(letter))) {
        case 'c': line.calibration = true; break;
        case 'g': line.startAll = true; break;
        case 's': line.noSplash = true; break;
        case 'x': line.surviveLogOff = true; break;
        default: break; // other letters mean nothing
    }
}

void applyToken(std::string_view token, bool quoted, CommandLine &line) {
    if (!quoted && isSwitch(token))
        applySwitch(token[1], line);
    else
        line.setupFile = token;
}

} // namespace

CommandLine parseCommandLine(std::string_view text) {
    CommandLine line;
    std::size_t position = 0;
    while (true) {
        position = text.find_first_not_of(' ', position);
        if (position == std::string_view::npos) break;
        if (text[position] == '"') {
            const std::size_t close = text.find('"', position + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            applyToken(text.substr(position + 1, end - position - 1), true, line);
            position = end + 1;
        } else {
            const std::size_t end = std::min(text.find(' ', position), text.size());
            applyToken(text.substr(position, end - position), false, line);
            position = end;
        }
    }
    return line;
}

CommandLine parseArguments(const std::vector<std::string> &arguments) {
    CommandLine line;
    for (const std::string &argument : arguments) applyToken(argument, false, line);
    return line;
}

} // namespace korvel

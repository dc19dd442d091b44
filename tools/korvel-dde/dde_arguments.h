// korvel-dde's command line, read into what to ask the logger.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel_dde {

inline constexpr int kDefaultTimeoutSeconds = 10;

struct DdeCommand {
    enum class Kind { Topics, Request, Advise } kind = Kind::Topics;
    std::string topic;
    std::vector<std::string> items;
    bool csv = false;
    std::string service;
    int timeoutSeconds = kDefaultTimeoutSeconds;
};

// The command of the arguments after the program name; nullopt with a
// message in problem when they make none.
std::optional<DdeCommand> parseArguments(const std::vector<std::string> &arguments, std::string &problem);

extern const char *const kUsage;

} // namespace korvel_dde

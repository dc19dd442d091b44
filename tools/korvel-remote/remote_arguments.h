// korvel-remote's command line, read into what to ask the logger.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel_remote {

inline constexpr int kDefaultTimeoutSeconds = 120;

struct RemoteRequest {
    enum class Kind { Command, Watch, Status } kind = Kind::Command;
    std::uint32_t code = 0;     // the remote command, 1..9
    std::uint32_t argument = 0; // its argument; the BCN to watch
    std::string openPath;
    std::string savePath;
    int timeoutSeconds = kDefaultTimeoutSeconds;
};

// The request of the arguments after the program name; nullopt with a
// message in problem when they make none.
std::optional<RemoteRequest> parseArguments(const std::vector<std::string> &arguments, std::string &problem);

extern const char *const kUsage;

} // namespace korvel_remote

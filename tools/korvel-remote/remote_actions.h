// What korvel-remote does over its connection to the logger's toolbox service.
#pragma once

#include "platform/local_client.h"
#include "remote_arguments.h"

namespace korvel_remote {

enum ExitCode { kDone = 0, kRefused = 1, kNoLogger = 2, kBadUsage = 64 };

// The service of the toolbox add-on; the greeting it opens with.
inline constexpr const char *kServiceName = "toolbox";
inline constexpr const char *kGreeting = "hello korvel32-toolbox ";

// Runs a remote command and prints what its reply code means.
int runCommand(korvel::LocalClient &service, const RemoteRequest &request);
// Prints the logger's state as the add-on knows it.
int showStatus(korvel::LocalClient &service, int timeoutSeconds);
// Prints the instrument's scans as CSV lines until interrupted.
int watchScans(korvel::LocalClient &service, std::uint32_t bcn);

} // namespace korvel_remote

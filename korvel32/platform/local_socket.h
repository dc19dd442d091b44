// What both ends of a local service connection need: the socket address of a
// path, and who is at the other end.
#pragma once

#include <string>

#include <sys/un.h>

namespace korvel {

// The address of a Unix-domain socket at path. Throws std::system_error
// (ENAMETOOLONG) when the path does not fit.
sockaddr_un localSocketAddress(const std::string &path);

// True when the process at the other end of the connected socket runs as
// this process's user.
bool peerIsSameUser(int fd);

} // namespace korvel

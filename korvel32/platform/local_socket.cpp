#include "platform/local_socket.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <sys/socket.h>
#include <unistd.h>

namespace korvel {

sockaddr_un localSocketAddress(const std::string &path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        throw std::system_error(ENAMETOOLONG, std::generic_category(), "socket path too long: " + path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

bool peerIsSameUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && length == sizeof(credentials) &&
           credentials.uid == ::geteuid();
}

} // namespace korvel

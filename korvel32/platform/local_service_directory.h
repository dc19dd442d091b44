// Where the logger's local services (remote control, live values) put their
// sockets: one directory per user that no one else may enter, so that the
// file system already keeps other users away from the sockets.
#pragma once

#include <string>

namespace korvel {

// $XDG_RUNTIME_DIR/korvel32, or /tmp/korvel32-<uid> when the runtime
// directory is not set or does not exist.
std::string localServiceDirectory();

// The directory above, created 0700 when missing. Throws std::system_error
// when it cannot be made, or when it is not a directory of this user with
// mode 0700 (a symbolic link is refused too).
std::string privateLocalServiceDirectory();

// The socket of the service of this name, in localServiceDirectory().
std::string localServicePath(const std::string &name);

} // namespace korvel

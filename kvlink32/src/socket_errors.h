// Socket failures are reported with the classic Windows Sockets numbers, so
// that every caller maps them to the library's codes by one table.
#pragma once

#include <cstdint>

namespace kvlink {

// The Windows Sockets number for a POSIX errno value.
int32_t winsockError(int posixErrno);

// The library code for a recorded error: negative values are returned
// unchanged, socket numbers are mapped to -1014, -1015, -2028 or -1017.
int32_t mapRecordedError(int32_t error);

} // namespace kvlink

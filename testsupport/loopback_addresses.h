// Loopback addresses that no other test process uses at the same time, so
// test programs can run in parallel (ctest -j) with their own simulators.
// Both come from the process id: isolated networks from 127.2.0 to 127.127.255,
// general-mode blocks from 127.128.0 to 127.253.255, so they never overlap.
#pragma once

#include <string>

namespace kvtest {

// "127.A.B": the isolated network of this process (instrument n at 127.A.B.n).
std::string uniqueIsolatedPrefix();

// "127.X.Y.n": the n-th address (1..254) of this process's general-mode block.
std::string uniqueLoopbackAddress(int n);

} // namespace kvtest

#include "loopback_addresses.h"

#include <unistd.h>

namespace kvtest {

namespace {

constexpr int kBlocksPerHalf = 126 * 256;

std::string blockOf(int firstSecondOctet) {
    const int block = static_cast<int>(getpid()) % kBlocksPerHalf;
    return "127." + std::to_string(firstSecondOctet + block / 256) + "." + std::to_string(block % 256);
}

} // namespace

std::string uniqueIsolatedPrefix() { return blockOf(2); }

std::string uniqueLoopbackAddress(int n) { return blockOf(128) + "." + std::to_string(n); }

} // namespace kvtest

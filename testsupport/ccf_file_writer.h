// Writes a ccf.cfg exactly as the library does, for tests that need one.
#pragma once

#include <string>
#include <tuple>
#include <vector>

namespace kvtest {

// dir/ccf.cfg with mode, port and entries (bcn, "a.b.c.d", model code), CR LF lines.
// Throws std::runtime_error if the file cannot be written.
void writeCcfFile(const std::string &dir, int mode, int port,
                  const std::vector<std::tuple<int, std::string, int>> &entries);

} // namespace kvtest

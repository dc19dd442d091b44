// korvel-sim serving M100A and M200A instruments on this test process's
// loopback addresses in general network mode, with the ccf.cfg that names them.
#pragma once

#include "sim_process.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kvtest {

// Starts the instruments, each a (BCN, ccf.cfg model code) pair, and writes ccfDir/ccf.cfg.
std::unique_ptr<SimProcess> startGeneralNetworkModels(const std::vector<std::pair<int, int>> &instruments,
                                                      const std::string &ccfDir);
// The same with an M100A at every BCN.
std::unique_ptr<SimProcess> startGeneralNetworkInstruments(const std::vector<int> &bcns, const std::string &ccfDir);

} // namespace kvtest

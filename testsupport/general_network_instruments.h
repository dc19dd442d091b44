// korvel-sim serving M100A instruments on this test process's loopback
// addresses in general network mode, with the ccf.cfg that names them.
#pragma once

#include "sim_process.h"

#include <memory>
#include <string>
#include <vector>

namespace kvtest {

// Starts the instruments and writes ccfDir/ccf.cfg.
std::unique_ptr<SimProcess> startGeneralNetworkInstruments(const std::vector<int>& bcns, const std::string& ccfDir);

}  // namespace kvtest

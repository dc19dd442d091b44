#include "general_network_instruments.h"

#include "ccf_file_writer.h"
#include "loopback_addresses.h"

#include <tuple>

namespace kvtest {

namespace {

constexpr int kGeneralNetwork = 4;
constexpr int kModelM100A = 1; // ccf.cfg's model code

}  // namespace

std::unique_ptr<SimProcess> startGeneralNetworkInstruments(const std::vector<int>& bcns, const std::string& ccfDir) {
    std::vector<std::string> args{"--general", "--port", "0"};
    std::vector<std::tuple<int, std::string, int>> entries;
    for (const int bcn : bcns) {
        const std::string address = uniqueLoopbackAddress(bcn);
        args.insert(args.end(), {"--instrument", std::to_string(bcn) + ":M100A:" + address});
        entries.emplace_back(bcn, address, kModelM100A);
    }
    auto sim = std::make_unique<SimProcess>(args);
    writeCcfFile(ccfDir, kGeneralNetwork, sim->basePort(), entries);
    return sim;
}

}  // namespace kvtest

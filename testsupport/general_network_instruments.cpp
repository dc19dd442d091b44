#include "general_network_instruments.h"

#include "ccf_file_writer.h"
#include "loopback_addresses.h"

#include <kvlink32.h>

#include <tuple>

namespace kvtest {

std::unique_ptr<SimProcess> startGeneralNetworkModels(const std::vector<std::pair<int, int>> &instruments,
                                                      const std::string &ccfDir) {
    std::vector<std::string> args{"--general", "--port", "0"};
    std::vector<std::tuple<int, std::string, int>> entries;
    for (const auto &[bcn, model] : instruments) {
        const std::string address = uniqueLoopbackAddress(bcn);
        const char *modelName = model == KVX_MODEL_M100A ? ":M100A:" : ":M200A:";
        args.insert(args.end(), {"--instrument", std::to_string(bcn) + modelName + address});
        entries.emplace_back(bcn, address, model);
    }
    auto sim = std::make_unique<SimProcess>(args);
    writeCcfFile(ccfDir, KVX_NET_GENERAL, sim->basePort(), entries);
    return sim;
}

std::unique_ptr<SimProcess> startGeneralNetworkInstruments(const std::vector<int> &bcns, const std::string &ccfDir) {
    std::vector<std::pair<int, int>> instruments;
    for (const int bcn : bcns) {
        instruments.emplace_back(bcn, KVX_MODEL_M100A);
    }
    return startGeneralNetworkModels(instruments, ccfDir);
}

} // namespace kvtest

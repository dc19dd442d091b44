// Fixture for tests of the library's exports: a temporary ccf.cfg, a
// korvel-sim serving the instruments on this process's loopback addresses,
// and the library started against them.
#pragma once

#include "ccf_file_writer.h"
#include "kvlink32.h"
#include "loopback_addresses.h"
#include "sim_process.h"
#include "temp_dir.h"
#include "wait_for.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

struct SimulatedInstrument {
    int bcn;
    int model = KVX_MODEL_M100A;
};

class SimulatedLibrary : public ::testing::Test {
protected:
    void SetUp() override { setenv("KVLINK32_CCF_DIR", dir.path().c_str(), 1); }
    void TearDown() override { kvxLibExit(); }

    // General network mode: instrument n at this process's address n.
    void startGeneral(const std::vector<SimulatedInstrument> &instruments, int basePort = 0) {
        std::vector<std::string> args{"--general", "--port", std::to_string(basePort)};
        std::vector<std::tuple<int, std::string, int>> entries;
        for (const auto &instrument : instruments) {
            args.push_back("--instrument");
            args.push_back(std::to_string(instrument.bcn) + ":" + modelName(instrument.model) + ":" +
                           address(instrument.bcn));
            entries.emplace_back(instrument.bcn, address(instrument.bcn), instrument.model);
        }
        sim = std::make_unique<kvtest::SimProcess>(args);
        kvtest::writeCcfFile(dir.path(), KVX_NET_GENERAL, sim->basePort(), entries);
        ASSERT_EQ(kvxLibInit(0), KVX_OK);
    }

    // Isolated network mode: instrument n at this process's isolated prefix + n.
    void startIsolated(const std::vector<SimulatedInstrument> &instruments) {
        const std::string prefix = kvtest::uniqueIsolatedPrefix();
        setenv("KVLINK32_ISOLATED_PREFIX", prefix.c_str(), 1);
        std::vector<std::string> args{"--isolated", "--isolated-prefix", prefix};
        std::vector<std::tuple<int, std::string, int>> entries;
        for (const auto &instrument : instruments) {
            args.push_back("--instrument");
            args.push_back(std::to_string(instrument.bcn) + ":" + modelName(instrument.model));
            entries.emplace_back(instrument.bcn, "0.0.0.0", instrument.model);
        }
        sim = std::make_unique<kvtest::SimProcess>(args);
        kvtest::writeCcfFile(dir.path(), KVX_NET_ISOLATED, KVX_ISOLATED_PORT, entries);
        ASSERT_EQ(kvxLibInit(0), KVX_OK);
    }

    static std::string address(int bcn) { return kvtest::uniqueLoopbackAddress(bcn); }
    static const char *modelName(int model) { return model == KVX_MODEL_M100A ? "M100A" : "M200A"; }

    // "ok" replies of the simulator's control channel, checked.
    void control(const std::string &line) { ASSERT_EQ(sim->control(line).substr(0, 2), "ok") << line; }

    // The commands of the requests the instrument received, in order.
    std::vector<int> commandsReceived(int bcn) {
        std::vector<int> commands;
        for (const std::string &request : sim->requests(bcn)) commands.push_back(commandOf(request));
        return commands;
    }

    static int commandOf(const std::string &requestHex) {
        return static_cast<int>(std::stoul(requestHex.substr(16, 8), nullptr, 16));
    }

    kvtest::TempDir dir;
    std::unique_ptr<kvtest::SimProcess> sim;
};

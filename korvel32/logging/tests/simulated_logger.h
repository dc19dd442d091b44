// Fixture for the logging run against korvel-sim: instruments on this
// process's loopback addresses, a ccf.cfg naming them, the library started,
// and a logging engine over an instrument table with a scripted user, a
// recording front end and a link to the library that can fail where the
// simulator cannot.
#pragma once

#include "datafiles/trend_link_interface.h"
#include "general_network_instruments.h"
#include "kvlink32.h"
#include "logging/logging_engine.h"
#include "platform/string_table.h"
#include "recording_front_end.h"
#include "scripted_link.h"
#include "scripted_user_interface.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvel {

// What the logging told the windows, the toolbox, the live-values service and
// the data files is in log, in order.
class SimulatedLogger : public ::testing::Test, public RecordingFrontEnd {
protected:
    SimulatedLogger() { setupTemplate.complete("Label", "VDC"); }

    void SetUp() override { setenv("KVLINK32_CCF_DIR", dir.path().c_str(), 1); }
    void TearDown() override { kvxLibExit(); }

    // Instruments (BCN, model code of ccf.cfg) in general network mode, each
    // added to the table in the next free slot.
    void startInstruments(const std::vector<std::pair<int, int>> &instruments) {
        for (const auto &[bcn, model] : instruments) {
            const ModelCode code = model == KVX_MODEL_M100A ? ModelCode::M100A : ModelCode::M200A;
            table.add(table.firstFreeSlot(), static_cast<unsigned>(bcn), code);
        }
        sim = kvtest::startGeneralNetworkModels(instruments, dir.path());
        ASSERT_EQ(kvxLibInit(0), KVX_OK);
    }
    void startInstruments(std::initializer_list<int> bcns) {
        std::vector<std::pair<int, int>> instruments;
        for (const int bcn : bcns) instruments.emplace_back(bcn, KVX_MODEL_M100A);
        startInstruments(instruments);
    }

    void control(const std::string &line) { ASSERT_EQ(sim->control(line).substr(0, 2), "ok") << line; }

    // Connections the instrument has open on its main port.
    int connections(int bcn) {
        const std::string reply = sim->control("connections " + std::to_string(bcn));
        const std::size_t at = reply.find("main=");
        return at == std::string::npos ? -1 : std::stoi(reply.substr(at + 5));
    }

    // The value of one key of the instrument's "state" line.
    std::string state(int bcn, const std::string &key) {
        const std::string reply = sim->control("state " + std::to_string(bcn));
        const std::size_t at = reply.find(" " + key + "=");
        if (at == std::string::npos) return {};
        const std::size_t from = at + key.size() + 2;
        return reply.substr(from, reply.find(' ', from) - from);
    }

    static std::uint32_t slots(std::initializer_list<int> numbers) {
        std::uint32_t mask = 0;
        for (const int number : numbers) mask |= slotBit(number);
        return mask;
    }

    kvtest::TempDir dir;
    std::unique_ptr<kvtest::SimProcess> sim;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    ScriptedUserInterface ui;
    ManualClock clock{CalendarTime{1'800'000'000, 0}};
    TrendLinkLibrary trendLinkLibrary;
    TrendLinkInterface trendLink{trendLinkLibrary, ui};
    RecordingFiles files{table, log, TrendLinkServices{trendLink, clock}};
    ScriptedLink link;
    FrontEnd frontEnd = frontEndFor(ui);
    LoggingEngine engine{table, options, link, files, frontEnd, clock};
};

} // namespace korvel

// Fixture for the logging run against korvel-sim: instruments on this
// process's loopback addresses, a ccf.cfg naming them, the library started,
// and a logging engine over an instrument table with a scripted user and a
// link to the library that can fail where the simulator cannot.
#pragma once

#include "general_network_instruments.h"
#include "kvlink32.h"
#include "logging/logging_engine.h"
#include "platform/string_table.h"
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

// Remembers what the engine told the rest of the program, in order.
class RecordingObserver : public LoggingObserver {
public:
    std::vector<std::string> events;
    bool dataFileCloses = true;
    bool remote = false;

    void toolboxLogging(int slot, bool on) override { record("toolbox", slot, on ? " on" : " off"); }
    void redrawIcon(int slot) override { record("icon", slot); }
    void refreshSelectedInstrument(int slot) override { record("selected", slot); }
    void resetStatusRow(int slot) override { record("row", slot); }
    bool closeDataFile(int slot) override {
        record("close", slot);
        return dataFileCloses;
    }
    void queueToolboxScans(int slot, const ScanBuffer &buffer) override {
        record("queue", slot, " " + std::to_string(buffer.header().count));
    }
    bool remoteMode() const override { return remote; }
    void reportToolboxError(int slot, int code) override { record("error", slot, " " + std::to_string(code)); }

private:
    void record(const std::string &what, int slot, const std::string &extra = {}) {
        events.push_back(what + " " + std::to_string(slot) + extra);
    }
};

class SimulatedLogger : public ::testing::Test {
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
    RecordingObserver observer;
    ManualClock clock{CalendarTime{1'800'000'000, 0}};
    ScriptedLink link;
    LoggingEngine engine{table, options, link, ui, observer, clock};
};

} // namespace korvel

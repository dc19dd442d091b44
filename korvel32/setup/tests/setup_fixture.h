// A complete setup for tests: the template, the instrument table, options,
// plot settings, a document over them, a scripted user interface and a
// communications configuration given as a map of BCN to model.
#pragma once

#include "platform/regional_formats.h"
#include "platform/user_interface.h"
#include "scripted_user_interface.h"
#include "setup/setup_doc.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace korvel::test {

class RecordingHost : public SetupHost {
public:
    bool anyInstrumentLogging() const override { return logging; }
    WindowRect plotWindowRect() const override { return plotWindow; }
    void moveMainWindow(const WindowRect &rect) override { mainWindowMoves.push_back(rect); }
    void movePlotWindow(const WindowRect &rect) override { plotWindowMoves.push_back(rect); }
    bool toolboxActive() const override { return toolbox; }
    bool allocateToolboxQueue(unsigned bcn, std::uint32_t) override { return bcn != refusedQueueBcn; }
    void documentChanged(const std::string &pathName, bool modified) override {
        heardPath = pathName;
        heardModified = modified;
    }

    bool logging = false;
    bool toolbox = false;
    unsigned refusedQueueBcn = 0;
    WindowRect plotWindow;
    std::vector<WindowRect> mainWindowMoves;
    std::vector<WindowRect> plotWindowMoves;
    // What the last notification of the document said.
    std::string heardPath;
    bool heardModified = false;
};

struct SetupFixture {
    SetupFixture() { setupTemplate.complete("Label", "VDC"); }

    BcnLookup lookUp(unsigned bcn) const {
        const auto found = ccf.find(bcn);
        if (found == ccf.end()) return {};
        return {1, found->second};
    }

    SetupTarget target(SetupHost &around) {
        return {instruments, options, plot, around, [this](unsigned bcn) { return lookUp(bcn); }};
    }
    SetupTarget target() { return target(host); }

    // Adds an instrument in the first free slot and returns its setup.
    InstrumentSetup &addInstrument(unsigned bcn, ModelCode model) {
        ccf[bcn] = model;
        const int slot = instruments.firstFreeSlot();
        EXPECT_TRUE(instruments.add(slot, bcn, model));
        return *instruments.slot(slot).setup;
    }

    SetupTemplate setupTemplate;
    InstrumentTable instruments{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    RecordingHost host;
    ScriptedUserInterface ui;
    RegionalFormats regional;
    std::map<unsigned, ModelCode> ccf;
    CSetupDoc doc{target(), ui, regional};
    // The same setup as korvel-setup and the headless logger hold it, with no windows around.
    SetupHost windowless;
    CSetupDoc windowlessDoc{target(windowless), ui, regional};
};

} // namespace korvel::test

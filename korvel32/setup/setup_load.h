// What both forms of the setup file load into, what a load reports back, and
// the steps that finish every load.
#pragma once

#include "setup/bcn_lookup.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/plot_settings.h"
#include "setup/setup_host.h"

#include <string>
#include <vector>

namespace korvel {

struct SetupTarget {
    InstrumentTable &instruments;
    LoggerOptions &options;
    PlotSettings &plot;
    SetupHost &host;
    BcnResolver resolveBcn;
};

struct LoadOutcome {
    enum class Status {
        Loaded,
        Invalid,      // message 41
        Incompatible, // message 49 with versionText
        OutOfMemory,  // message 21
    };
    Status status = Status::Loaded;
    std::string versionText;
    bool setupReplaced = false;        // the old instruments are gone
    std::vector<unsigned> invalidBcns; // instruments not loaded
    bool toolboxQueueShortage = false; // some queues could not be had

    bool loaded() const { return status == Status::Loaded; }
};

// A BCN the setup may use: 1..99 and present in the communications
// configuration; its model then goes to model.
bool usableBcn(const SetupTarget &target, unsigned bcn, ModelCode &model);

// The setup's instruments go, and with them their toolbox queues.
void removeInstruments(SetupTarget &target);

// The last steps of every successful load: toolbox queues for each
// instrument, plot channels of missing instruments emptied, and every
// instrument Async when no Master was loaded.
void completeLoad(SetupTarget &target, LoadOutcome &outcome);

} // namespace korvel

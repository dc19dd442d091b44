// A setup document over its own table, options and plot settings, with the
// instrument library behind its BCN look-up and a scripted user: what the
// application's command logic works on in its tests.
#pragma once

#include "link/instrument_link.h"
#include "platform/regional_formats.h"
#include "setup/bcn_lookup.h"
#include "setup/plot_settings.h"
#include "setup/setup_doc.h"
#include "setup/setup_host.h"
#include "setup/setup_template.h"

#include <scripted_user_interface.h>

namespace korvel::test {

struct LinkedSetupDocument {
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    SetupHost host;
    RegionalFormats regional;
    ScriptedUserInterface ui;
    InstrumentLink link;
    CSetupDoc document{SetupTarget{table, options, plot, host, bcnResolver(link)}, ui, regional};
};

} // namespace korvel::test

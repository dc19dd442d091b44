// What a front end's logging session works on: the setup and the settings
// that start-up has read, the library, Trend Link, and the toolbox and
// live-values service of the application.
#pragma once

#include "datafiles/trend_link_interface.h"
#include "link/instrument_link.h"
#include "logging/live_values.h"
#include "logging/toolbox_link.h"
#include "platform/regional_formats.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/setup_doc.h"

#include <string>

namespace korvel {

struct SessionTarget {
    InstrumentLink &link;
    TrendLinkInterface &trendLink;
    ToolboxLink &toolbox;
    LiveValues &liveValues;
    InstrumentTable &table;
    const LoggerOptions &options;
    CSetupDoc &document;
    const RegionalFormats &regional;
    bool autoScanDisable = true;
    std::string programDirectory;
};

} // namespace korvel

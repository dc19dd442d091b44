// The application object's setup and settings, as every front end holds
// them: the instrument table with its template, the logger options and plot
// settings that travel with the setup file, the regional formats and the
// korvel32.ini settings, and the document that opens and saves the setup.
#pragma once

#include "app/application_settings.h"
#include "app/application_startup.h"
#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_library.h"
#include "link/instrument_link.h"
#include "logging/session_target.h"
#include "platform/regional_formats.h"
#include "setup/bcn_lookup.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/plot_settings.h"
#include "setup/setup_doc.h"
#include "setup/setup_template.h"

#include <string>
#include <utility>

namespace korvel {

struct ApplicationState {
    ApplicationState(InstrumentLink &library, SetupHost &host, UserInterface &ui)
            : link(library), trendLink(trendLinkLibrary, ui),
              document(SetupTarget{table, options, plot, host, bcnResolver(library)}, ui, regional) {}
    ApplicationState(const ApplicationState &) = delete;
    ApplicationState &operator=(const ApplicationState &) = delete;

    StartupTarget startupTarget() {
        return {link, trendLink, setupTemplate, table, options, document, regional, settings};
    }
    // What the logging session works on once start-up is done.
    SessionTarget sessionTarget(std::string programDirectory) {
        return {link,
                trendLink,
                toolbox,
                liveValues,
                table,
                options,
                document,
                regional,
                settings.autoScanDisable,
                std::move(programDirectory)};
    }

    InstrumentLink &link; // the instrument library
    TrendLinkLibrary trendLinkLibrary;
    TrendLinkInterface trendLink;
    // Neither the toolbox add-on nor the live-values service is part of the
    // logger yet: their places take the links that do nothing.
    ToolboxLink toolbox;
    LiveValues liveValues;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    RegionalFormats regional;
    ApplicationSettings settings;
    CSetupDoc document;
};

} // namespace korvel

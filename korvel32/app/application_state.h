// The application object's setup and settings, as every front end holds
// them: the instrument table with its template, the logger options and plot
// settings that travel with the setup file, the regional formats and the
// korvel32.ini settings, and the document that opens and saves the setup.
#pragma once

#include "app/application_settings.h"
#include "app/application_startup.h"
#include "app/live_values_service.h"
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
            : link(library), document(SetupTarget{table, options, plot, host, bcnResolver(library)}, ui, regional) {}
    ApplicationState(const ApplicationState &) = delete;
    ApplicationState &operator=(const ApplicationState &) = delete;

    StartupTarget startupTarget() { return {link, setupTemplate, table, options, document, regional, settings}; }
    // What the logging session works on once start-up is done.
    SessionTarget sessionTarget(std::string programDirectory) {
        return {link,
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
    // The toolbox add-on is not part of the logger yet: its place takes the
    // link that does nothing.
    ToolboxLink toolbox;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    RegionalFormats regional;
    ApplicationSettings settings;
    CSetupDoc document;
    // Started by the front end at its place in start-up.
    LiveValuesService liveValues{table, regional};
};

} // namespace korvel

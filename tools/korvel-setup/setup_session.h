// One setup as korvel-setup holds it: the instrument table, options and plot
// settings that a setup file fills, and the document that opens and saves it.
#pragma once

#include "link/instrument_link.h"
#include "platform/printing_user_interface.h"
#include "platform/regional_formats.h"
#include "setup/setup_doc.h"
#include "setup/setup_template.h"

#include <string>

class SetupSession {
public:
    SetupSession();

    bool open(const std::string &path) { return document_.open(path); }
    bool save(const std::string &path) { return document_.save(path); }

    korvel::InstrumentTable &instruments() { return instruments_; }
    korvel::LoggerOptions &options() { return options_; }
    const korvel::LoggerOptions &options() const { return options_; }
    const korvel::RegionalFormats &formats() const { return formats_; }
    korvel::UserInterface &ui() { return ui_; }

private:
    korvel::SetupTemplate template_;
    korvel::InstrumentTable instruments_{template_};
    korvel::LoggerOptions options_;
    korvel::PlotSettings plot_;
    korvel::SetupHost host_;
    korvel::InstrumentLink link_;
    korvel::RegionalFormats formats_;
    korvel::PrintingUserInterface ui_{korvel::AnswerPolicy::Refuse};
    korvel::CSetupDoc document_;
};

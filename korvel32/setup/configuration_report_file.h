// The configuration text file: the prepared report laid out in fixed columns,
// every line ending in CR LF.
#pragma once

#include "platform/user_interface.h"
#include "setup/configuration_report.h"

#include <string>

namespace korvel {

std::string configurationReportText(const ConfigurationReport &report);

// Creates (or replaces) the file and writes the report; message 42 when it
// cannot be created, 43 when writing fails. True when all was written.
bool saveConfigurationReport(const std::string &path, const ConfigurationReport &report, UserInterface &ui);

} // namespace korvel

// Loads a setup from a text setup file: an INI-form file read key by key.
// The logger reads this form but never writes it.
#pragma once

#include "setup/setup_load.h"

#include <string_view>

namespace korvel {

LoadOutcome readTextForm(std::string_view content, SetupTarget &target);

} // namespace korvel

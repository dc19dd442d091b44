// Loads a setup from the record form of the setup file.
#pragma once

#include "setup/setup_load.h"

#include <cstdint>
#include <span>

namespace korvel {

// bytes: the file from its start (its first four bytes mark the record form).
// Instruments whose BCN is not usable are skipped and listed; on a failure
// after the old instruments were deleted, those read so far stay.
LoadOutcome readRecordForm(std::span<const std::uint8_t> bytes, SetupTarget &target);

} // namespace korvel

// The record form of the setup file, the only form the logger writes.
#pragma once

#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/plot_settings.h"

#include <cstdint>
#include <vector>

namespace korvel {

// The whole file, CRC included.
std::vector<std::uint8_t> writeRecordForm(const InstrumentTable &instruments, const LoggerOptions &options,
                                          const WindowRect &plotWindow, const PlotSettings &plot);

} // namespace korvel

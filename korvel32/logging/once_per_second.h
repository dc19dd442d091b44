// The status displays' update, once a second while instruments log: new
// scans reach the live-values clients, the current readings window and the
// logging status window, and the alarm words seen since the last update are
// shown.
#pragma once

#include "logging/front_end.h"

namespace korvel {

class InstrumentTable;
class LoggingEngine;
struct LoggerOptions;

void updateOncePerSecond(const InstrumentTable &table, LoggingEngine &engine, const LoggerOptions &options,
                         const FrontEnd &frontEnd);

} // namespace korvel

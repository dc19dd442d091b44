// The status displays' update, once a second while instruments log: new
// scans reach the DDE clients, the current readings window and the logging
// status window, and the alarm words seen since the last update are shown.
#pragma once

namespace korvel {

class InstrumentTable;
class LoggingEngine;
class TickObserver;
class UserInterface;
struct LoggerOptions;

void updateOncePerSecond(const InstrumentTable &table, LoggingEngine &engine, const LoggerOptions &options,
                         UserInterface &ui, TickObserver &observer);

} // namespace korvel

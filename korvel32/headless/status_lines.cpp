#include "status_lines.h"

#include "logging/logging_engine.h"
#include "setup/instrument_table.h"

#include <ostream>

namespace korvel {

void StatusLines::update(std::int64_t second) {
    if (second == lastSecond_) return;
    lastSecond_ = second;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const LoggingRun &run = engine_.run(slot);
        if (!run.logging) continue;
        out_ << "BCN " << table_.slot(slot).bcn << ": " << run.totalScans << " scans, " << run.scansInInstrument
             << " in instrument" << (run.draining ? " (stopping)" : "") << '\n';
    }
    out_.flush();
}

} // namespace korvel

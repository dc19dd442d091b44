// What the engine tells a front end as runs begin and end: a run that ends
// closes its data file, and the front end's icons and windows follow.
#pragma once

#include "logging/logging_front_end.h"
#include "logging/logging_observer.h"

namespace korvel {

class RemoteCommands;
class SlotDataFiles;

class DataFileObserver : public LoggingObserver {
public:
    DataFileObserver(SlotDataFiles &files, const RemoteCommands &remote, LoggingFrontEnd &frontEnd)
            : files_(files), remote_(remote), frontEnd_(frontEnd) {}

    void toolboxLogging(int, bool) override {}
    void redrawIcon(int slot) override { frontEnd_.redrawIcon(slot); }
    void refreshSelectedInstrument(int slot) override { frontEnd_.refreshSelectedInstrument(slot); }
    void resetStatusRow(int) override {}
    bool closeDataFile(int slot) override;
    void queueToolboxScans(int, const ScanBuffer &) override {}
    bool remoteMode() const override;
    void reportToolboxError(int, int) override {}

private:
    SlotDataFiles &files_;
    const RemoteCommands &remote_;
    LoggingFrontEnd &frontEnd_;
};

} // namespace korvel

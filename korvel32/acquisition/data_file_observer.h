// What the engine tells a front end as runs begin and end, as far as the data
// files go: a run that ends closes its file. A windowed front end adds its
// icons and windows; the headless logger has nothing more to follow.
#pragma once

#include "acquisition/logging_observer.h"

namespace korvel {

class RemoteCommands;
class SlotDataFiles;

class DataFileObserver : public LoggingObserver {
public:
    DataFileObserver(SlotDataFiles &files, const RemoteCommands &remote) : files_(files), remote_(remote) {}

    void toolboxLogging(int, bool) override {}
    void redrawIcon(int) override {}
    void refreshSelectedInstrument(int) override {}
    void resetStatusRow(int) override {}
    bool closeDataFile(int slot) override;
    void queueToolboxScans(int, const ScanBuffer &) override {}
    bool remoteMode() const override;
    void reportToolboxError(int, int) override {}

private:
    SlotDataFiles &files_;
    const RemoteCommands &remote_;
};

} // namespace korvel

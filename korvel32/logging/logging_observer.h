// What the logging engine tells the rest of the program as runs begin and
// end. The Qt shell, the headless front end and tests each implement it.
#pragma once

namespace korvel {

class ScanBuffer;

// Error report codes of remote mode, sent to the toolbox instead of showing
// a warning window.
namespace toolbox_error {
inline constexpr int kCommunication = 1;
inline constexpr int kDataFile = 4;
inline constexpr int kScanQueueOverflow = 8;
inline constexpr int kRamConstants = 16;
inline constexpr int kAnalogProcessor = 32;
} // namespace toolbox_error

class LoggingObserver {
public:
    virtual ~LoggingObserver() = default;

    // The run of the slot began (on) or ended (off): the toolbox follows it.
    virtual void toolboxLogging(int slot, bool on) = 0;
    // The slot's instrument icon shows whether it logs.
    virtual void redrawIcon(int slot) = 0;
    // A run began; the readings display follows when the slot is the selected one.
    virtual void refreshSelectedInstrument(int slot) = 0;
    // The slot's row in the logging status window starts over.
    virtual void resetStatusRow(int slot) = 0;
    // Closes the slot's data file, if it has one open; false when the file
    // could not be written out.
    virtual bool closeDataFile(int slot) = 0;

    // New scans of a slot whose setup keeps a toolbox scan queue.
    virtual void queueToolboxScans(int slot, const ScanBuffer &buffer) = 0;

    // In remote mode problems go to the toolbox as error reports.
    virtual bool remoteMode() const = 0;
    virtual void reportToolboxError(int slot, int code) = 0;
};

} // namespace korvel

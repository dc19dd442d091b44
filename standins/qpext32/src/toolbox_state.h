// What the logger's thread and the client service's thread share: the
// instruments with their scan queues and layouts, the logger's state as the
// entry points tell it, the command channel, and the news the service has
// yet to pass on. One lock guards it all and is held only to copy; the
// logger never waits on a client, and nothing is called with the lock held.
#pragma once

#include "channel_layout.h"
#include "qpext32.h"
#include "scan_queue.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qpext32 {

// News from the logger for the clients.
struct ToolboxEvent {
    enum class Kind { Run, RemoteMode, ErrorReport, CommandDone, SetupFile, Queue, Removed, Renamed };
    Kind kind;
    int bcn = 0; // Renamed: the old BCN
    int value =
        0; // Run: logging; RemoteMode: on; ErrorReport: code; CommandDone: reply; Queue: bytes; Renamed: new BCN
    std::string text; // SetupFile: the path
};

struct InstrumentStatus {
    int bcn = 0;
    bool logging = false;
    std::uint32_t queueBytes = 0;
    std::uint32_t recordSize = 0; // of the layout the logger gave, 0 before it did
    std::uint64_t lost = 0;
};

struct ToolboxStatus {
    std::string channel; // the command channel's name, empty without one
    bool remoteMode = false;
    std::string setupFile;
    std::vector<InstrumentStatus> instruments;
};

// The scans taken from one instrument's queue, with the layout to read them by.
struct InstrumentScans {
    int bcn = 0;
    ScanBatch batch;
    std::shared_ptr<const ChannelLayout> layout;
};

class ToolboxState {
public:
    ToolboxState();
    ~ToolboxState();
    ToolboxState(const ToolboxState &) = delete;
    ToolboxState &operator=(const ToolboxState &) = delete;

    // ---- The logger's thread: the entry points.
    void setChannel(const Qpext32CommandChannel *channel);
    // False when the queue cannot be had; keepOld leaves the old one then.
    bool setQueue(int bcn, std::uint32_t bytes, bool keepOld);
    void removeInstrument(int bcn);
    void setSetupFile(const std::string &path);
    void setLayout(int bcn, ChannelLayout layout);
    void setLogging(int bcn, bool logging);
    void setRemoteMode(bool on);
    void reportError(int bcn, int code);
    void commandDone(int bcn, int reply);
    // The path of kind (QPEXT32_PATH_OPEN/SAVE) given with the command being run.
    std::string commandPath(int kind) const;
    void queueScans(int bcn, const std::uint8_t *records, int count, std::uint32_t recordSize, std::uint32_t remaining);
    void renameInstrument(int oldBcn, int newBcn);
    // Forgets everything: the add-on is about to be unloaded.
    void clear();

    // ---- The service's thread.
    // News is kept only while a service passes it on.
    void setServing(bool serving);
    // Readable while news or scans wait. Cleared before they are taken, so
    // that what comes meanwhile makes it readable again.
    int wakeDescriptor() const { return wakeFd_; }
    void clearWake();
    std::vector<ToolboxEvent> takeNews();
    // Scans are queued only for instruments that someone follows.
    void setFollowed(int bcn, bool followed);
    std::vector<InstrumentScans> takeScans();
    ToolboxStatus status() const;
    std::string setupFile() const;
    std::uint32_t queueBytes(int bcn) const;
    // Hands a command to the logger with the paths it may ask for; false
    // without a channel or when the logger did not take it.
    bool post(std::uint32_t code, std::uint32_t argument, const std::string &openPath, const std::string &savePath);

private:
    struct Instrument {
        std::optional<ScanQueue> queue;
        std::shared_ptr<const ChannelLayout> layout = std::make_shared<const ChannelLayout>();
        bool logging = false;
    };

    // With the lock held.
    void wake();
    void announce(ToolboxEvent event);
    std::uint32_t bytesInQueues() const;

    mutable std::mutex lock_;
    int wakeFd_ = -1;
    std::map<int, Instrument> instruments_;
    std::set<int> followed_;
    std::vector<ToolboxEvent> news_;
    bool woken_ = false; // the wake descriptor is readable
    bool serving_ = false;
    Qpext32CommandChannel channel_{};
    std::string channelName_;
    bool remoteMode_ = false;
    std::string setupFile_;
    std::string openPath_; // of the command being run
    std::string savePath_;
    std::uint32_t memoryLimit_;
};

} // namespace qpext32

// The developers' toolbox add-on as the logging reaches it: the runs it
// follows, the scans it queues, the error reports of remote mode, the files
// its remote commands name and the reply that ends each of them. This base is
// the logger without the toolbox: nothing is sent and no file is named.
#pragma once

#include "platform/toolbox_reply.h"

#include <cstdint>
#include <string>

namespace korvel {

class ScanBuffer;

// Error report codes of remote mode, sent to the toolbox instead of showing a
// warning window.
namespace toolbox_error {
inline constexpr int kCommunication = 1;
inline constexpr int kDataFile = 4;
inline constexpr int kScanQueueOverflow = 8;
inline constexpr int kRamConstants = 16;
inline constexpr int kAnalogProcessor = 32;
} // namespace toolbox_error

// Which path a remote command asks the toolbox for.
enum class ToolboxPath { Open = 1, Save = 2 };

class ToolboxLink {
public:
    virtual ~ToolboxLink() = default;

    // While on, problems of a run go to the toolbox as error reports instead
    // of to the user. The toolbox's remote command switches it.
    bool remoteMode() const { return remoteMode_; }
    void setRemoteMode(bool on) {
        remoteMode_ = on;
        remoteModeChanged(on);
    }

    // The run of the slot began (on) or ended (off).
    virtual void loggingChanged(int /*slot*/, bool /*on*/) {}
    // New scans of a slot whose setup keeps a toolbox scan queue.
    virtual void queueScans(int /*slot*/, const ScanBuffer & /*buffer*/) {}
    // A problem of the slot's run in remote mode (a toolbox_error code).
    virtual void reportError(int /*slot*/, int /*code*/) {}
    // The file a remote command works on, as the toolbox names it.
    virtual std::string filePath(ToolboxPath /*kind*/) { return {}; }
    // The end of every executed remote command.
    virtual void reply(std::uint16_t /*bcn*/, ToolboxReply /*code*/) {}
    // An instrument took another BCN in the communications configuration.
    virtual void bcnChanged(unsigned /*oldBcn*/, unsigned /*newBcn*/) {}

protected:
    virtual void remoteModeChanged(bool /*on*/) {}

private:
    bool remoteMode_ = false;
};

} // namespace korvel

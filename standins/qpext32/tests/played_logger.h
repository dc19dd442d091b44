// The logger as the add-on's tests play it: loads the library the way the
// logger does, calls its entry points on one thread of its own (the main
// loop), and runs the commands the add-on posts there with the logger's
// rules for who may start, stop, open and switch what.
#pragma once

#include "qpext32.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qpext32_test {

struct PlayedInstrument {
    int bcn = 0;
    std::uint32_t queueBytes = 0;
    std::uint32_t definedChannels = 0b111; // channels 1..3
    bool slave = false;
    bool failsToStart = false; // a start ends in a message of the logger, not a refusal
};

// One scan record as an instrument of n readings sends it, with every field
// made from the scan's number so that a test can tell scans apart.
std::vector<std::uint8_t> scanRecord(std::uint64_t number, int readings);
// The CSV text the add-on makes of that record.
std::string scanCsv(std::uint64_t number, int readings);

class PlayedLogger {
public:
    // Loads the library at path, checks its version (2), gives every
    // instrument its queue and layout (5, 9), the setup file (8) and the
    // command channel (3).
    PlayedLogger(const std::string &path, std::vector<PlayedInstrument> instruments,
                 std::string setupFile = "/setups/current.stp");
    // Shuts the add-on down (4) and unloads it.
    ~PlayedLogger();
    PlayedLogger(const PlayedLogger &) = delete;
    PlayedLogger &operator=(const PlayedLogger &) = delete;

    // Runs work on the main loop and waits until it ran.
    void onMainLoop(const std::function<void()> &work);

    // The entry points, called on the main loop.
    std::int32_t setQueue(int bcn, std::uint32_t bytes);    // 5
    std::int32_t changeQueue(int bcn, std::uint32_t bytes); // 7
    void deleteInstrument(int bcn);                         // 6
    void setRunning(int bcn, bool logging);                 // 10
    void reportError(int bcn, int code);                    // 12
    void changeBcn(int oldBcn, int newBcn);                 // 16
    // Reads count scans of the instrument: numbers continue from its last read.
    void readScans(int bcn, int count, std::uint32_t remaining = 0);
    std::int32_t askPath(int kind, char *buffer, std::uint32_t size); // 14

    // A modal dialog refuses every command but 9.
    void setDialogOpen(bool open);
    // While held, posted commands wait unexecuted, as in a busy logger.
    void holdCommands(bool hold);

    // What the commands asked the add-on for, "open:PATH" or "save:PATH", in order.
    std::vector<std::string> pathsAsked();
    // Commands posted while another was still waiting to run; the add-on
    // must never do that.
    int overlappingPosts();
    int commandsRun();

private:
    static std::int32_t post(void *context, std::uint32_t code, std::uint32_t argument);
    template <typename Function>
    Function entry(int number);
    void load();
    void loop();
    void stopLoop();
    void execute(std::uint32_t code, std::uint32_t argument);
    int executeCommand(std::uint32_t code, std::uint32_t argument, int &bcn);
    std::string askedPath(int kind);
    void runChange(int bcn, bool logging);

    void *library_ = nullptr;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> work_;
    bool stopping_ = false;
    bool hold_ = false;
    std::deque<std::pair<std::uint32_t, std::uint32_t>> held_;
    int pendingCommands_ = 0;
    int overlapping_ = 0;
    int commandsRun_ = 0;
    std::vector<std::string> pathsAsked_;
    std::thread thread_;

    // Main loop only.
    std::map<int, PlayedInstrument> instruments_;
    std::map<int, bool> logging_;
    std::map<int, std::uint64_t> scansRead_;
    bool remoteMode_ = false;
    bool dialogOpen_ = false;
    std::string setupFile_;
};

} // namespace qpext32_test

// The add-on's client service: the socket "toolbox" in the user's private
// directory, served on a thread of its own. Clients send remote commands,
// which go to the logger through the command channel one at a time; they
// hear of runs, remote mode, error reports and setup changes as they happen;
// and they follow instruments' scans. The protocol is in
// docs/toolbox-protocol.md.
#pragma once

#include "platform/local_server.h"
#include "remote_command_queue.h"
#include "toolbox_state.h"

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace qpext32 {

inline constexpr const char *kServiceName = "toolbox";

class ToolboxService : private korvel::LocalServerHandler {
public:
    // Listens at once, so that a name in use is known to the caller; throws
    // std::system_error then. The thread starts here too.
    explicit ToolboxService(ToolboxState &state);
    // Stops the thread and closes every connection.
    ~ToolboxService() override;
    ToolboxService(const ToolboxService &) = delete;
    ToolboxService &operator=(const ToolboxService &) = delete;

private:
    struct Client {
        std::map<int, std::string> followed; // BCN -> the columns line it was last sent
        std::string openPath;                // for its next command
        std::string savePath;
    };

    void run();
    void passOnNews();
    void passOn(const ToolboxEvent &event);
    void commandAnswered(int bcn, int reply);
    void renamed(int oldBcn, int newBcn);
    void deliverScans();
    void deliver(const InstrumentScans &scans);
    void broadcast(const std::string &line);
    std::vector<korvel::LocalConnectionId> followers(int bcn) const;

    // Requests (service_requests.cpp).
    void connected(korvel::LocalConnectionId id) override;
    void lineReceived(korvel::LocalConnectionId id, const std::string &line) override;
    void disconnected(korvel::LocalConnectionId id) override;
    void command(korvel::LocalConnectionId id, const std::string &arguments);
    void path(korvel::LocalConnectionId id, const std::string &arguments);
    void follow(korvel::LocalConnectionId id, const std::string &arguments, bool on);
    void status(korvel::LocalConnectionId id);
    void postWaiting();
    void error(korvel::LocalConnectionId id, const std::string &text);

    ToolboxState &state_;
    korvel::LocalServer server_;
    RemoteCommandQueue commands_;
    std::map<korvel::LocalConnectionId, Client> clients_;
    int stopFd_ = -1;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

} // namespace qpext32

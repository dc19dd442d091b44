// The requests of the toolbox service's clients.
#include "toolbox_service.h"

#include "qpext32.h"

#include <charconv>
#include <optional>

namespace qpext32 {
namespace {

constexpr const char *kGreeting = "hello korvel32-toolbox 1";
constexpr int kMaxBcn = 99;

// The first word of text and what follows the space after it.
std::pair<std::string, std::string> splitWord(const std::string &text) {
    const std::size_t space = text.find(' ');
    if (space == std::string::npos) return {text, {}};
    return {text.substr(0, space), text.substr(space + 1)};
}

// A whole decimal number of text, nothing else.
std::optional<std::uint32_t> number(const std::string &text) {
    std::uint32_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

bool needsOpenPath(std::uint32_t code) { return code >= QPEXT32_OPEN_SETUP_KEEPING && code <= QPEXT32_LOAD_MXB_FILE; }

} // namespace

void ToolboxService::connected(korvel::LocalConnectionId id) {
    clients_[id];
    server_.send(id, kGreeting);
}

void ToolboxService::disconnected(korvel::LocalConnectionId id) {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    const std::map<int, std::string> followed = std::move(found->second.followed);
    clients_.erase(found);
    commands_.forget(id);
    for (const auto &[bcn, columns] : followed)
        if (followers(bcn).empty()) state_.setFollowed(bcn, false);
}

void ToolboxService::lineReceived(korvel::LocalConnectionId id, const std::string &line) {
    const auto [request, arguments] = splitWord(line);
    if (request == "command")
        command(id, arguments);
    else if (request == "path")
        path(id, arguments);
    else if (request == "subscribe")
        follow(id, arguments, true);
    else if (request == "unsubscribe")
        follow(id, arguments, false);
    else if (request == "status")
        status(id);
    else if (!request.empty())
        error(id, "unknown request \"" + request + "\"; requests: command, path, subscribe, unsubscribe, status");
}

void ToolboxService::command(korvel::LocalConnectionId id, const std::string &arguments) {
    const auto [codeText, argumentText] = splitWord(arguments);
    const auto code = number(codeText);
    const auto argument = argumentText.empty() ? std::optional<std::uint32_t>(0) : number(argumentText);
    if (!code || *code < QPEXT32_START_INSTRUMENT || *code > QPEXT32_SWITCH_REMOTE_MODE || !argument) {
        error(id, "usage: command CODE [ARGUMENT], CODE 1..9");
        return;
    }
    Client &client = clients_[id];
    RemoteCommand remote{id, *code, *argument, std::move(client.openPath), std::move(client.savePath)};
    client.openPath.clear();
    client.savePath.clear();
    if (needsOpenPath(remote.code) && remote.openPath.empty()) {
        error(id, "command " + codeText + " needs a file: send \"path open FILE\" first");
        return;
    }
    // Saving before an open goes to the setup's own file unless the client says otherwise.
    if (remote.code == QPEXT32_SAVE_AND_OPEN_SETUP && remote.savePath.empty()) remote.savePath = state_.setupFile();
    if (!commands_.submit(std::move(remote))) {
        error(id, "too many commands wait for the logger");
        return;
    }
    postWaiting();
}

void ToolboxService::path(korvel::LocalConnectionId id, const std::string &arguments) {
    const auto [kind, file] = splitWord(arguments);
    if ((kind != "open" && kind != "save") || file.empty()) {
        error(id, "usage: path open|save FILE");
        return;
    }
    (kind == "open" ? clients_[id].openPath : clients_[id].savePath) = file;
}

void ToolboxService::follow(korvel::LocalConnectionId id, const std::string &arguments, bool on) {
    const auto bcn = number(arguments);
    if (!bcn || *bcn < 1 || *bcn > kMaxBcn) {
        error(id, on ? "usage: subscribe BCN, BCN 1..99" : "usage: unsubscribe BCN, BCN 1..99");
        return;
    }
    const int instrument = static_cast<int>(*bcn);
    std::map<int, std::string> &followed = clients_[id].followed;
    if (on) {
        followed.try_emplace(instrument);
        state_.setFollowed(instrument, true);
        server_.send(id,
                     "subscribed " + std::to_string(instrument) + " " + std::to_string(state_.queueBytes(instrument)));
        return;
    }
    followed.erase(instrument);
    if (followers(instrument).empty()) state_.setFollowed(instrument, false);
    server_.send(id, "unsubscribed " + std::to_string(instrument));
}

void ToolboxService::status(korvel::LocalConnectionId id) {
    const ToolboxStatus now = state_.status();
    server_.send(id, "status channel " + now.channel);
    server_.send(id, now.remoteMode ? "status remote-mode on" : "status remote-mode off");
    server_.send(id, "status setup " + now.setupFile);
    for (const InstrumentStatus &instrument : now.instruments) {
        server_.send(id, "status instrument " + std::to_string(instrument.bcn) +
                             (instrument.logging ? " logging" : " stopped") + " queue " +
                             std::to_string(instrument.queueBytes) + " record " +
                             std::to_string(instrument.recordSize) + " lost " + std::to_string(instrument.lost));
    }
    server_.send(id, "status end");
}

void ToolboxService::postWaiting() {
    for (const RemoteCommand &refused : commands_.postWaiting())
        error(refused.client,
              "command " + std::to_string(refused.code) + " not taken: the logger has no command channel");
}

void ToolboxService::error(korvel::LocalConnectionId id, const std::string &text) { server_.send(id, "error " + text); }

} // namespace qpext32

#include "toolbox_service.h"

#include "reply_texts.h"
#include "scan_text.h"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <system_error>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace qpext32 {
namespace {

// A client may be behind by this much output before it is let go: at twenty
// scans a second of thirty channels, well over a minute of scans.
constexpr korvel::LocalServerLimits kLimits{.maxLineBytes = 8192, .maxPendingBytes = 4u << 20, .maxConnections = 32};

} // namespace

ToolboxService::ToolboxService(ToolboxState &state)
        : state_(state), server_(kServiceName, *this, kLimits), commands_([this](const RemoteCommand &command) {
              return state_.post(command.code, command.argument, command.openPath, command.savePath);
          }) {
    stopFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (stopFd_ < 0) throw std::system_error(errno, std::generic_category(), "cannot create an eventfd");
    state_.setServing(true);
    thread_ = std::thread([this] { run(); });
}

ToolboxService::~ToolboxService() {
    stopping_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof(one));
    thread_.join();
    state_.setServing(false);
    ::close(stopFd_);
}

void ToolboxService::run() {
    try {
        std::vector<pollfd> descriptors;
        while (!stopping_) {
            descriptors.assign({{stopFd_, POLLIN, 0}, {state_.wakeDescriptor(), POLLIN, 0}});
            server_.appendDescriptors(descriptors);
            if (::poll(descriptors.data(), descriptors.size(), -1) < 0 && errno != EINTR) break;
            if (stopping_) break;
            if (descriptors[1].revents & POLLIN) {
                state_.clearWake();
                // Scans first: the end of a run comes after the scans read while it drained.
                deliverScans();
                passOnNews();
            }
            server_.serve(descriptors);
        }
    } catch (const std::exception &problem) {
        // The logger goes on without its clients rather than end with us.
        std::fprintf(stderr, "qpext32: the client service stopped: %s\n", problem.what());
        state_.setServing(false);
    }
}

void ToolboxService::passOnNews() {
    for (const ToolboxEvent &event : state_.takeNews()) passOn(event);
}

void ToolboxService::passOn(const ToolboxEvent &event) {
    const std::string bcn = std::to_string(event.bcn);
    switch (event.kind) {
        case ToolboxEvent::Kind::Run: broadcast("run " + bcn + (event.value ? " logging" : " stopped")); break;
        case ToolboxEvent::Kind::RemoteMode: broadcast(event.value ? "remote-mode on" : "remote-mode off"); break;
        case ToolboxEvent::Kind::ErrorReport:
            broadcast("report " + bcn + " " + std::to_string(event.value) + " " + errorReportText(event.value));
            break;
        case ToolboxEvent::Kind::CommandDone: commandAnswered(event.bcn, event.value); break;
        case ToolboxEvent::Kind::SetupFile: broadcast("setup " + event.text); break;
        case ToolboxEvent::Kind::Queue: broadcast("queue " + bcn + " " + std::to_string(event.value)); break;
        case ToolboxEvent::Kind::Removed: broadcast("removed " + bcn); break;
        case ToolboxEvent::Kind::Renamed: renamed(event.bcn, event.value); break;
    }
}

void ToolboxService::commandAnswered(int bcn, int reply) {
    if (const auto command = commands_.answered()) {
        server_.send(command->client, "reply " + std::to_string(command->code) + " " + std::to_string(bcn) + " " +
                                          std::to_string(reply) + " " + replyMeaning(command->code, bcn, reply));
    }
    postWaiting();
}

void ToolboxService::renamed(int oldBcn, int newBcn) {
    for (auto &[id, client] : clients_) {
        const auto found = client.followed.find(oldBcn);
        if (found == client.followed.end()) continue;
        client.followed.erase(found);
        client.followed[newBcn].clear(); // the columns are announced again under the new BCN
    }
    broadcast("renamed " + std::to_string(oldBcn) + " " + std::to_string(newBcn));
}

void ToolboxService::deliverScans() {
    for (const InstrumentScans &scans : state_.takeScans()) deliver(scans);
}

void ToolboxService::deliver(const InstrumentScans &scans) {
    const ScanBatch &batch = scans.batch;
    const std::string bcn = std::to_string(scans.bcn);
    const std::vector<korvel::LocalConnectionId> to = followers(scans.bcn);
    if (batch.lost > 0) {
        const std::string line =
            "overflow " + bcn + " " + std::to_string(batch.lost) + " " + std::to_string(batch.lostTotal);
        for (korvel::LocalConnectionId id : to) server_.send(id, line);
    }
    if (batch.marks.empty()) return;
    const std::string columns = "columns " + bcn + " " + columnsCsv(*scans.layout, batch.recordSize);
    for (korvel::LocalConnectionId id : to) {
        const auto client = clients_.find(id);
        if (client == clients_.end()) continue;
        std::string &announced = client->second.followed[scans.bcn];
        if (announced == columns) continue;
        announced = columns;
        server_.send(id, columns);
    }
    std::string line;
    for (std::size_t i = 0; i < batch.marks.size(); ++i) {
        line = "scan " + bcn + " " + std::to_string(batch.marks[i].number) + " " +
               std::to_string(batch.marks[i].remaining) + " ";
        appendScanCsv(line, batch.records.data() + i * batch.recordSize, batch.recordSize);
        for (korvel::LocalConnectionId id : to) server_.send(id, line);
    }
}

void ToolboxService::broadcast(const std::string &line) {
    std::vector<korvel::LocalConnectionId> everyone;
    for (const auto &[id, client] : clients_) everyone.push_back(id);
    for (korvel::LocalConnectionId id : everyone) server_.send(id, line);
}

std::vector<korvel::LocalConnectionId> ToolboxService::followers(int bcn) const {
    std::vector<korvel::LocalConnectionId> ids;
    for (const auto &[id, client] : clients_)
        if (client.followed.contains(bcn)) ids.push_back(id);
    return ids;
}

} // namespace qpext32

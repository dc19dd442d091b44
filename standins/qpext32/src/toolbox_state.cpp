#include "toolbox_state.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <new>
#include <system_error>
#include <utility>

#include <sys/eventfd.h>
#include <unistd.h>

namespace qpext32 {
namespace {

// QPEXT32_QUEUE_MEMORY caps the bytes of all queues together, so that the
// logger's handling of a queue it cannot have can be tried out.
std::uint32_t memoryLimit() {
    const char *limit = std::getenv("QPEXT32_QUEUE_MEMORY");
    if (!limit || !*limit) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::strtoul(limit, nullptr, 10));
}

} // namespace

ToolboxState::ToolboxState() : memoryLimit_(memoryLimit()) {
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) throw std::system_error(errno, std::generic_category(), "cannot create an eventfd");
}

ToolboxState::~ToolboxState() { ::close(wakeFd_); }

void ToolboxState::wake() {
    if (woken_) return;
    woken_ = true;
    const std::uint64_t one = 1;
    // Cannot block: the counter is far from full.
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof(one));
}

void ToolboxState::announce(ToolboxEvent event) {
    if (!serving_) return;
    news_.push_back(std::move(event));
    wake();
}

void ToolboxState::setChannel(const Qpext32CommandChannel *channel) {
    const std::lock_guard guard(lock_);
    channel_ = channel ? *channel : Qpext32CommandChannel{};
    channelName_ = channel && channel->name ? channel->name : "";
    channel_.name = nullptr; // the logger's text need not outlive the call
}

std::uint32_t ToolboxState::bytesInQueues() const {
    std::uint64_t bytes = 0;
    for (const auto &[bcn, instrument] : instruments_)
        if (instrument.queue) bytes += instrument.queue->bytes();
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
}

bool ToolboxState::setQueue(int bcn, std::uint32_t bytes, bool keepOld) {
    const std::lock_guard guard(lock_);
    Instrument &instrument = instruments_[bcn];
    const std::uint32_t others = bytesInQueues() - (instrument.queue ? instrument.queue->bytes() : 0);
    bool allocated = bytes <= QPEXT32_MAX_QUEUE && bytes <= memoryLimit_ - std::min(others, memoryLimit_);
    if (allocated) {
        try {
            if (bytes == 0)
                instrument.queue.reset();
            else
                instrument.queue.emplace(bytes);
        } catch (const std::bad_alloc &) {
            allocated = false;
        }
    }
    if (!allocated && !keepOld) instrument.queue.reset();
    announce({ToolboxEvent::Kind::Queue, bcn, static_cast<int>(instrument.queue ? instrument.queue->bytes() : 0), {}});
    return allocated;
}

void ToolboxState::removeInstrument(int bcn) {
    const std::lock_guard guard(lock_);
    instruments_.erase(bcn);
    announce({ToolboxEvent::Kind::Removed, bcn, 0, {}});
}

void ToolboxState::setSetupFile(const std::string &path) {
    const std::lock_guard guard(lock_);
    setupFile_ = path;
    announce({ToolboxEvent::Kind::SetupFile, 0, 0, path});
}

void ToolboxState::setLayout(int bcn, ChannelLayout layout) {
    const std::lock_guard guard(lock_);
    instruments_[bcn].layout = std::make_shared<const ChannelLayout>(std::move(layout));
}

void ToolboxState::setLogging(int bcn, bool logging) {
    const std::lock_guard guard(lock_);
    instruments_[bcn].logging = logging;
    announce({ToolboxEvent::Kind::Run, bcn, logging ? 1 : 0, {}});
}

void ToolboxState::setRemoteMode(bool on) {
    const std::lock_guard guard(lock_);
    remoteMode_ = on;
    announce({ToolboxEvent::Kind::RemoteMode, 0, on ? 1 : 0, {}});
}

void ToolboxState::reportError(int bcn, int code) {
    const std::lock_guard guard(lock_);
    announce({ToolboxEvent::Kind::ErrorReport, bcn, code, {}});
}

void ToolboxState::commandDone(int bcn, int reply) {
    const std::lock_guard guard(lock_);
    openPath_.clear();
    savePath_.clear();
    announce({ToolboxEvent::Kind::CommandDone, bcn, reply, {}});
}

std::string ToolboxState::commandPath(int kind) const {
    const std::lock_guard guard(lock_);
    return kind == QPEXT32_PATH_SAVE ? savePath_ : kind == QPEXT32_PATH_OPEN ? openPath_ : std::string();
}

void ToolboxState::queueScans(int bcn, const std::uint8_t *records, int count, std::uint32_t recordSize,
                              std::uint32_t remaining) {
    const std::lock_guard guard(lock_);
    const auto found = instruments_.find(bcn);
    if (found == instruments_.end() || !found->second.queue) return;
    ScanQueue &queue = *found->second.queue;
    if (!followed_.contains(bcn)) {
        queue.skip(count);
        return;
    }
    queue.push(records, count, recordSize, remaining);
    wake();
}

void ToolboxState::renameInstrument(int oldBcn, int newBcn) {
    const std::lock_guard guard(lock_);
    const auto found = instruments_.find(oldBcn);
    if (found != instruments_.end()) {
        Instrument moved = std::move(found->second);
        instruments_.erase(found);
        instruments_[newBcn] = std::move(moved);
    }
    if (followed_.erase(oldBcn)) followed_.insert(newBcn);
    announce({ToolboxEvent::Kind::Renamed, oldBcn, newBcn, {}});
}

void ToolboxState::clear() {
    const std::lock_guard guard(lock_);
    instruments_.clear();
    followed_.clear();
    news_.clear();
    channel_ = {};
    channelName_.clear();
    remoteMode_ = false;
    setupFile_.clear();
    openPath_.clear();
    savePath_.clear();
}

void ToolboxState::clearWake() {
    std::uint64_t count;
    [[maybe_unused]] const ssize_t got = ::read(wakeFd_, &count, sizeof(count));
    const std::lock_guard guard(lock_);
    woken_ = false;
}

void ToolboxState::setServing(bool serving) {
    const std::lock_guard guard(lock_);
    serving_ = serving;
    if (!serving) news_.clear();
}

std::string ToolboxState::setupFile() const {
    const std::lock_guard guard(lock_);
    return setupFile_;
}

std::vector<ToolboxEvent> ToolboxState::takeNews() {
    const std::lock_guard guard(lock_);
    return std::exchange(news_, {});
}

void ToolboxState::setFollowed(int bcn, bool followed) {
    const std::lock_guard guard(lock_);
    if (followed) {
        followed_.insert(bcn);
        return;
    }
    followed_.erase(bcn);
    // What was queued for the last follower is of use to no one now.
    const auto found = instruments_.find(bcn);
    if (found != instruments_.end() && found->second.queue) {
        ScanBatch dropped;
        found->second.queue->takeAll(dropped);
    }
}

std::vector<InstrumentScans> ToolboxState::takeScans() {
    std::vector<InstrumentScans> taken;
    const std::lock_guard guard(lock_);
    for (auto &[bcn, instrument] : instruments_) {
        if (!instrument.queue || !followed_.contains(bcn)) continue;
        ScanQueue &queue = *instrument.queue;
        if (!queue.hasNews()) continue;
        InstrumentScans scans{bcn, {}, instrument.layout};
        queue.takeAll(scans.batch);
        taken.push_back(std::move(scans));
    }
    return taken;
}

ToolboxStatus ToolboxState::status() const {
    const std::lock_guard guard(lock_);
    ToolboxStatus status{channelName_, remoteMode_, setupFile_, {}};
    for (const auto &[bcn, instrument] : instruments_) {
        InstrumentStatus entry{bcn, instrument.logging, 0,
                               instrument.layout->defined ? instrument.layout->recordSize() : 0, 0};
        if (instrument.queue) {
            entry.queueBytes = instrument.queue->bytes();
            entry.lost = instrument.queue->lostTotal();
        }
        status.instruments.push_back(entry);
    }
    return status;
}

std::uint32_t ToolboxState::queueBytes(int bcn) const {
    const std::lock_guard guard(lock_);
    const auto found = instruments_.find(bcn);
    return found != instruments_.end() && found->second.queue ? found->second.queue->bytes() : 0;
}

bool ToolboxState::post(std::uint32_t code, std::uint32_t argument, const std::string &openPath,
                        const std::string &savePath) {
    Qpext32CommandChannel channel;
    {
        const std::lock_guard guard(lock_);
        channel = channel_;
        openPath_ = openPath;
        savePath_ = savePath;
    }
    // Outside the lock: the logger may hold a lock of its own around its calls into us.
    return channel.post && channel.post(channel.context, code, argument) != 0;
}

} // namespace qpext32

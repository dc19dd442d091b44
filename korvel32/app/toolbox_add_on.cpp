#include "app/toolbox_add_on.h"

#include "logging/logging_run.h"
#include "logging/remote_commands.h"
#include "platform/string_table.h"

#include <array>
#include <tuple>

namespace korvel {
namespace {

static_assert(kChannelCount == QPEXT32_CHANNELS);

// The add-on posts one command and waits for its reply; this bounds a
// channel that misbehaves.
constexpr std::size_t kMostPostedCommands = 64;
// The longest path a remote command may name.
constexpr std::size_t kPathBuffer = 4096;

} // namespace

bool ToolboxAddOn::load(const std::string &programDirectory, UserInterface &ui, const std::string &fileName) {
    ToolboxLibrary::Loaded loaded = ToolboxLibrary::load(programDirectory, fileName);
    if (loaded.library == nullptr) {
        showError(ui, loaded.failure == ToolboxLibrary::Failure::NotFound ? message::kToolboxNotFound
                                                                          : message::kToolboxCannotLoad);
        return false;
    }
    float version = 0.0f;
    loaded.library->call().interfaceVersion(&version);
    if (version != QPEXT32_INTERFACE_VERSION) {
        showError(ui, message::kToolboxIncompatible);
        loaded.library->call().shutDown();
        return false;
    }
    library_ = std::move(loaded.library);
    return true;
}

void ToolboxAddOn::unload() {
    if (!loaded()) return;
    call().shutDown();
    library_.reset();
    const std::lock_guard guard(postedLock_);
    posted_.clear();
}

void ToolboxAddOn::openCommandChannel() {
    if (!loaded()) return;
    const Qpext32CommandChannel channel{kRemoteCommandChannel, &ToolboxAddOn::post, this};
    call().openCommandChannel(&channel);
}

void ToolboxAddOn::setupFile(const std::string &path) {
    if (loaded()) call().setupFile(path.c_str());
}

bool ToolboxAddOn::setQueue(unsigned bcn, std::uint32_t bytes) {
    if (!loaded()) return true;
    const bool had = call().setQueue(bcnOf(bcn), bytes) != QPEXT32_E_NO_MEMORY;
    if (const int slot = table_.find(bcn); slot != 0) channelsChanged(slot);
    return had;
}

bool ToolboxAddOn::announceInstrument(int slot) {
    InstrumentSetup &setup = *table_.slot(slot).setup;
    if (setQueue(table_.slot(slot).bcn, setup.toolboxQueueSize)) return true;
    setup.toolboxQueueSize = 0;
    return false;
}

bool ToolboxAddOn::announceInstruments() {
    bool allHad = true;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse) allHad = announceInstrument(slot) && allHad;
    }
    return allHad;
}

void ToolboxAddOn::channelsChanged(int slot) {
    if (!loaded()) return;
    const InstrumentSetup &setup = *table_.slot(slot).setup;
    std::uint32_t defined = 0;
    std::array<const char *, kChannelCount> labels{};
    std::array<const char *, kChannelCount> units{};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const ChannelSetup &entry = setup.channel(channel);
        if (entry.function == ChannelFunction::Off) continue;
        const auto index = static_cast<std::size_t>(channel - 1);
        defined |= std::uint32_t{1} << index;
        labels[index] = entry.label.c_str();
        units[index] = entry.unitsLabel.c_str();
    }
    call().channels(bcnOfSlot(slot), defined, labels.data(), units.data());
}

void ToolboxAddOn::Deletions::instrumentDeleted(int, unsigned bcn) {
    if (addOn_.loaded()) addOn_.call().instrumentDeleted(bcnOf(bcn));
}

bool ToolboxAddOn::changeQueue(unsigned bcn, std::uint32_t bytes) {
    return !loaded() || call().changeQueue(bcnOf(bcn), bytes) != QPEXT32_E_NO_MEMORY;
}

void ToolboxAddOn::loggingChanged(int slot, bool on) {
    if (loaded()) call().logging(bcnOfSlot(slot), on ? 1 : 0);
}

void ToolboxAddOn::queueScans(int slot, const ScanBuffer &buffer) {
    if (!loaded()) return;
    const ScanBufferHeader header = buffer.header();
    const auto *records = static_cast<const std::uint8_t *>(buffer.block()) + sizeof(ScanBufferHeader);
    call().scans(bcnOfSlot(slot), header.count, records, header.remaining,
                 static_cast<std::uint32_t>(header.recordSize));
}

void ToolboxAddOn::reportError(int slot, int code) {
    if (loaded()) call().errorReport(bcnOfSlot(slot), code);
}

std::string ToolboxAddOn::filePath(ToolboxPath kind) {
    if (!loaded()) return {};
    std::array<char, kPathBuffer> path{};
    if (call().filePath(static_cast<std::int32_t>(kind), path.data(), static_cast<std::uint32_t>(path.size())) < 0)
        return {};
    return path.data();
}

void ToolboxAddOn::reply(std::uint16_t bcn, ToolboxReply code) {
    if (loaded()) call().reply(bcnOf(bcn), static_cast<std::int32_t>(code));
}

void ToolboxAddOn::bcnChanged(unsigned oldBcn, unsigned newBcn) {
    if (loaded()) call().bcnChanged(bcnOf(oldBcn), bcnOf(newBcn));
}

bool ToolboxAddOn::takePostedCommand(std::uint32_t &code, std::uint32_t &argument) {
    const std::lock_guard guard(postedLock_);
    if (posted_.empty()) return false;
    std::tie(code, argument) = posted_.front();
    posted_.pop_front();
    return true;
}

void ToolboxAddOn::remoteModeChanged(bool on) {
    if (loaded()) call().remoteMode(on ? 1 : 0);
}

std::int32_t ToolboxAddOn::post(void *context, std::uint32_t code, std::uint32_t argument) {
    auto &addOn = *static_cast<ToolboxAddOn *>(context);
    const std::lock_guard guard(addOn.postedLock_);
    if (addOn.posted_.size() >= kMostPostedCommands) return 0;
    addOn.posted_.emplace_back(code, argument);
    return 1;
}

} // namespace korvel

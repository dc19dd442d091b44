#include "played_logger.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <future>
#include <stdexcept>

#include <dlfcn.h>

namespace qpext32_test {
namespace {

constexpr std::uint32_t kPathBuffer = 4096;

void putWord(std::vector<std::uint8_t> &record, std::size_t offset, std::uint32_t word) {
    std::memcpy(record.data() + offset, &word, sizeof(word));
}

// The remote command reply codes the played logger answers with.
constexpr int kNoInstrument = -6003;
constexpr int kSlave = -6004;
constexpr int kLogging = -6005;
constexpr int kNotLogging = -6006;

} // namespace

std::vector<std::uint8_t> scanRecord(std::uint64_t number, int readings) {
    std::vector<std::uint8_t> record(28 + 4 * static_cast<std::size_t>(readings));
    const std::uint8_t time[8] = {12,
                                  static_cast<std::uint8_t>(number / 60 % 60),
                                  static_cast<std::uint8_t>(number % 60),
                                  5,
                                  0,
                                  static_cast<std::uint8_t>(1 + number / 3600 % 28),
                                  24,
                                  0};
    std::memcpy(record.data() + 4, time, sizeof(time));
    putWord(record, 12,
            static_cast<std::uint32_t>(number * 50 % 1000) | static_cast<std::uint32_t>(number & 0xFF) << 16);
    putWord(record, 16, number % 7 == 0 ? 1 : 0);
    putWord(record, 24, static_cast<std::uint32_t>(number * 3));
    for (int k = 0; k < readings; ++k) {
        const float reading = static_cast<float>(number) + 0.5f * static_cast<float>(k);
        std::memcpy(record.data() + 28 + 4 * k, &reading, sizeof(reading));
    }
    return record;
}

std::string scanCsv(std::uint64_t number, int readings) {
    char stamp[40];
    std::snprintf(stamp, sizeof(stamp), "2024-05-%02u 12:%02u:%02u.%03u", static_cast<unsigned>(1 + number / 3600 % 28),
                  static_cast<unsigned>(number / 60 % 60), static_cast<unsigned>(number % 60),
                  static_cast<unsigned>(number * 50 % 1000));
    std::string csv = stamp;
    for (int k = 0; k < readings; ++k) {
        csv += "," + std::to_string(number + static_cast<std::uint64_t>(k / 2));
        if (k % 2) csv += ".5";
    }
    csv += "," + std::to_string(number & 0xFF) + "," + std::to_string(number * 3) + "," +
           std::to_string(number % 7 == 0 ? 1 : 0) + ",0";
    return csv;
}

template <typename Function>
Function PlayedLogger::entry(int number) {
    const std::string name = "qpext32_ordinal_" + std::to_string(number);
    void *symbol = ::dlsym(library_, name.c_str());
    if (!symbol) throw std::runtime_error("the add-on lacks " + name);
    return reinterpret_cast<Function>(symbol);
}

PlayedLogger::PlayedLogger(const std::string &path, std::vector<PlayedInstrument> instruments, std::string setupFile)
        : setupFile_(std::move(setupFile)) {
    library_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) throw std::runtime_error(std::string("cannot load the add-on: ") + ::dlerror());
    for (const PlayedInstrument &instrument : instruments) instruments_[instrument.bcn] = instrument;
    thread_ = std::thread([this] { loop(); });
    try {
        load();
    } catch (...) {
        stopLoop();
        ::dlclose(library_);
        throw;
    }
}

void PlayedLogger::load() {
    onMainLoop([this] {
        float version = 0;
        entry<Qpext32Ordinal2>(2)(&version);
        if (version != QPEXT32_INTERFACE_VERSION) {
            entry<Qpext32Ordinal4>(4)();
            throw std::runtime_error("the add-on has another interface version");
        }
        for (const auto &[bcn, instrument] : instruments_) {
            entry<Qpext32Ordinal5>(5)(bcn, instrument.queueBytes);
            const char *labels[QPEXT32_CHANNELS] = {};
            const char *units[QPEXT32_CHANNELS] = {};
            for (int i = 0; i < QPEXT32_CHANNELS; ++i) {
                if (!(instrument.definedChannels & (1u << i))) continue;
                labels[i] = i == 0 ? "Oven, top" : "";
                units[i] = i == 0 ? "\u00B0C" : "V";
            }
            entry<Qpext32Ordinal9>(9)(bcn, instrument.definedChannels, labels, units);
        }
        entry<Qpext32Ordinal8>(8)(setupFile_.c_str());
        const Qpext32CommandChannel channel{QPEXT32_COMMAND_CHANNEL, &PlayedLogger::post, this};
        entry<Qpext32Ordinal3>(3)(&channel);
    });
}

PlayedLogger::~PlayedLogger() {
    onMainLoop([this] { entry<Qpext32Ordinal4>(4)(); });
    stopLoop();
    ::dlclose(library_);
}

void PlayedLogger::stopLoop() {
    {
        const std::lock_guard guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PlayedLogger::loop() {
    for (;;) {
        std::function<void()> next;
        {
            std::unique_lock guard(lock_);
            wake_.wait(guard, [this] { return stopping_ || !work_.empty(); });
            if (work_.empty()) return;
            next = std::move(work_.front());
            work_.pop_front();
        }
        next();
    }
}

void PlayedLogger::onMainLoop(const std::function<void()> &work) {
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    {
        const std::lock_guard guard(lock_);
        work_.push_back([&task] { task(); });
    }
    wake_.notify_all();
    done.get(); // rethrows what the work threw
}

std::int32_t PlayedLogger::post(void *context, std::uint32_t code, std::uint32_t argument) {
    auto *self = static_cast<PlayedLogger *>(context);
    {
        const std::lock_guard guard(self->lock_);
        if (self->stopping_) return 0;
        if (self->pendingCommands_ > 0) ++self->overlapping_;
        ++self->pendingCommands_;
        if (self->hold_)
            self->held_.emplace_back(code, argument);
        else
            self->work_.push_back([self, code, argument] { self->execute(code, argument); });
    }
    self->wake_.notify_all();
    return 1;
}

void PlayedLogger::holdCommands(bool hold) {
    {
        const std::lock_guard guard(lock_);
        hold_ = hold;
        if (hold) return;
        for (const auto &[code, argument] : held_)
            work_.push_back([this, code = code, argument = argument] { execute(code, argument); });
        held_.clear();
    }
    wake_.notify_all();
}

void PlayedLogger::execute(std::uint32_t code, std::uint32_t argument) {
    int bcn = 0;
    const int reply = dialogOpen_ && code != QPEXT32_SWITCH_REMOTE_MODE ? QPEXT32_REPLY_DIALOG_OPEN
                                                                        : executeCommand(code, argument, bcn);
    {
        const std::lock_guard guard(lock_);
        --pendingCommands_;
        ++commandsRun_;
    }
    entry<Qpext32Ordinal13>(13)(bcn, reply);
}

int PlayedLogger::executeCommand(std::uint32_t code, std::uint32_t argument, int &bcn) {
    const int target = static_cast<int>(argument);
    const auto found = instruments_.find(target);
    const bool anyLogging = [this] {
        for (const auto &[slot, logging] : logging_)
            if (logging) return true;
        return false;
    }();
    switch (code) {
        case QPEXT32_START_INSTRUMENT:
        case QPEXT32_STOP_INSTRUMENT: {
            bcn = target;
            const bool start = code == QPEXT32_START_INSTRUMENT;
            if (found == instruments_.end()) return kNoInstrument;
            if (found->second.slave) return kSlave;
            if (logging_[target] == start) return start ? kLogging : kNotLogging;
            if (!start || !found->second.failsToStart) runChange(target, start);
            return 0;
        }
        case QPEXT32_START_ALL:
        case QPEXT32_STOP_ALL: {
            const bool start = code == QPEXT32_START_ALL;
            if (instruments_.empty()) return kNoInstrument;
            int changed = 0;
            for (const auto &[number, instrument] : instruments_) {
                if (instrument.slave || logging_[number] == start) continue;
                runChange(number, start);
                ++changed;
            }
            return changed ? 0 : start ? kLogging : kNotLogging;
        }
        case QPEXT32_OPEN_SETUP_KEEPING:
        case QPEXT32_OPEN_SETUP:
        case QPEXT32_SAVE_AND_OPEN_SETUP: {
            if (anyLogging) return kLogging;
            if (code == QPEXT32_SAVE_AND_OPEN_SETUP) {
                const std::string save = askedPath(QPEXT32_PATH_SAVE);
                if (save.empty()) return QPEXT32_REPLY_CANNOT_CREATE;
                entry<Qpext32Ordinal8>(8)(save.c_str());
            }
            const std::string open = askedPath(QPEXT32_PATH_OPEN);
            if (open.empty() || open.rfind("missing", 0) == 0) return QPEXT32_REPLY_NO_SETUP_FILE;
            setupFile_ = open;
            entry<Qpext32Ordinal8>(8)(open.c_str());
            return 0;
        }
        case QPEXT32_LOAD_MXB_FILE:
            bcn = target;
            if (found == instruments_.end()) return kNoInstrument;
            if (logging_[target]) return kLogging;
            return askedPath(QPEXT32_PATH_OPEN).empty() ? QPEXT32_REPLY_NO_MXB_FILE : 0;
        case QPEXT32_SWITCH_REMOTE_MODE:
            if ((argument != 0) == remoteMode_)
                return remoteMode_ ? QPEXT32_REPLY_REMOTE_MODE_ON : QPEXT32_REPLY_REMOTE_MODE_OFF;
            remoteMode_ = argument != 0;
            entry<Qpext32Ordinal11>(11)(remoteMode_ ? 1 : 0);
            return 0;
        default: return 0;
    }
}

void PlayedLogger::runChange(int bcn, bool logging) {
    logging_[bcn] = logging;
    entry<Qpext32Ordinal10>(10)(bcn, logging ? 1 : 0);
}

std::string PlayedLogger::askedPath(int kind) {
    char buffer[kPathBuffer];
    const bool given = entry<Qpext32Ordinal14>(14)(kind, buffer, sizeof(buffer)) >= 0;
    const std::string path = given ? buffer : "";
    const std::lock_guard guard(lock_);
    pathsAsked_.push_back((kind == QPEXT32_PATH_SAVE ? "save:" : "open:") + path);
    return path;
}

std::int32_t PlayedLogger::setQueue(int bcn, std::uint32_t bytes) {
    std::int32_t result = 0;
    onMainLoop([&] { result = entry<Qpext32Ordinal5>(5)(bcn, bytes); });
    return result;
}

std::int32_t PlayedLogger::changeQueue(int bcn, std::uint32_t bytes) {
    std::int32_t result = 0;
    onMainLoop([&] { result = entry<Qpext32Ordinal7>(7)(bcn, bytes); });
    return result;
}

void PlayedLogger::deleteInstrument(int bcn) {
    onMainLoop([&] {
        instruments_.erase(bcn);
        entry<Qpext32Ordinal6>(6)(bcn);
    });
}

void PlayedLogger::setRunning(int bcn, bool logging) {
    onMainLoop([&] { runChange(bcn, logging); });
}

void PlayedLogger::reportError(int bcn, int code) {
    onMainLoop([&] { entry<Qpext32Ordinal12>(12)(bcn, code); });
}

void PlayedLogger::changeBcn(int oldBcn, int newBcn) {
    onMainLoop([&] {
        auto node = instruments_.extract(oldBcn);
        node.key() = newBcn;
        node.mapped().bcn = newBcn;
        instruments_.insert(std::move(node));
        scansRead_[newBcn] = scansRead_[oldBcn];
        entry<Qpext32Ordinal16>(16)(oldBcn, newBcn);
    });
}

void PlayedLogger::readScans(int bcn, int count, std::uint32_t remaining) {
    onMainLoop([&] {
        const int readings = std::popcount(instruments_.at(bcn).definedChannels);
        std::vector<std::uint8_t> records;
        for (int i = 0; i < count; ++i) {
            const std::vector<std::uint8_t> record = scanRecord(++scansRead_[bcn], readings);
            records.insert(records.end(), record.begin(), record.end());
        }
        entry<Qpext32Ordinal15>(15)(bcn, count, records.data(), remaining,
                                    28 + 4 * static_cast<std::uint32_t>(readings));
    });
}

std::int32_t PlayedLogger::askPath(int kind, char *buffer, std::uint32_t size) {
    std::int32_t result = 0;
    onMainLoop([&] { result = entry<Qpext32Ordinal14>(14)(kind, buffer, size); });
    return result;
}

void PlayedLogger::setDialogOpen(bool open) {
    onMainLoop([&] { dialogOpen_ = open; });
}

std::vector<std::string> PlayedLogger::pathsAsked() {
    const std::lock_guard guard(lock_);
    return pathsAsked_;
}

int PlayedLogger::overlappingPosts() {
    const std::lock_guard guard(lock_);
    return overlapping_;
}

int PlayedLogger::commandsRun() {
    const std::lock_guard guard(lock_);
    return commandsRun_;
}

} // namespace qpext32_test

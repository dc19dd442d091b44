// Starting logging runs: every check and download is done for all the
// instruments of a start before the next one begins, so that a group starts
// scanning at one common time.
#include "logging/compatibility_check.h"
#include "logging/configuration_download.h"
#include "logging/instrument_time.h"
#include "logging/logging_engine.h"
#include "logging/open_communications.h"
#include "platform/string_table.h"

namespace korvel {
namespace {

constexpr std::int32_t kInstrumentBadTime = -2;
constexpr std::uint32_t kStatusNotResponding = 1u << 10;
constexpr std::uint32_t kCommandWaitMs = 2000;

bool hasInputChannel(const InstrumentSetup &setup) {
    for (int channel = 1; channel <= kAnalogChannels; ++channel) {
        if (setup.channel(channel).function != ChannelFunction::Off) return true;
    }
    return false;
}

} // namespace

bool LoggingEngine::startLogging(std::uint32_t slotMask, int startDelay) {
    std::vector<int> slots;
    for (const int slot : slotsOf(slotMask)) {
        if (!run(slot).logging) slots.push_back(slot);
    }
    if (slots.empty()) return true;
    for (const int slot : slots) {
        if (!hasInputChannel(*table_.slot(slot).setup)) {
            showMessage(slot, message::kNoChannelsDefined);
            return false;
        }
    }
    for (const int slot : slots)
        prepareRun(run(slot), scanBuffer(slot), *table_.slot(slot).setup, pairsSlaveScans(slot));

    if (options_.simulateData) {
        const std::int64_t now = clock_.now().seconds;
        for (const int slot : slots) beginRun(slot, now);
        return true;
    }
    BusyCursor cursor(ui_);
    BusyMark mark(*this);
    return startInstruments(slots, startDelay);
}

bool LoggingEngine::startInstruments(const std::vector<int> &slots, int startDelay) {
    const auto closeAll = [&] {
        for (const int slot : slots) link_.commClose(table_.slot(slot).bcn);
    };
    for (const int slot : slots) {
        if (!openCommunications(link_, table_.slot(slot).bcn, OpenMode::StartChecks, ui_)) {
            closeAll();
            return false;
        }
    }
    if (!configureAndStart(slots, startDelay)) {
        closeAll();
        return false;
    }
    return true;
}

bool LoggingEngine::configureAndStart(const std::vector<int> &slots, int startDelay) {
    std::array<int, kInstrumentSlots + 1> levels{};
    for (const int slot : slots) {
        const InstrumentSlot &entry = table_.slot(slot);
        const Compatibility compatibility = checkCompatibility(link_, entry.bcn, *entry.setup, ui_);
        if (!compatibility.compatible) return false;
        levels[static_cast<std::size_t>(slot)] = compatibility.configurationLevel;
    }
    if (!setClocks(slots) || !waitUntilResponding(slots) || !downloadConfigurations(slots, levels) ||
        !waitUntilResponding(slots) || !clearTotalizers(slots))
        return false;
    std::int64_t startSecond = 0;
    if (!enableScanning(slots, startDelay, startSecond)) return false;
    for (const int slot : slots) beginRun(slot, startSecond);
    selectMonitorChannels(slots);
    return true;
}

bool LoggingEngine::setClocks(const std::vector<int> &slots) {
    for (const int slot : slots) {
        const std::int32_t rc = link_.timeSet(table_.slot(slot).bcn);
        if (rc == KVX_OK) continue;
        showMessage(slot,
                    rc == kInstrumentBadTime ? message::kInvalidInstrumentTime : message::kCommunicationInterruption);
        return false;
    }
    return true;
}

bool LoggingEngine::waitUntilResponding(const std::vector<int> &slots) {
    for (const int slot : slots) {
        std::uint32_t status = 0;
        const std::int32_t rc = link_.busyWait(table_.slot(slot).bcn, kCommandWaitMs, status);
        if (rc >= 0 && (status & kStatusNotResponding)) {
            showMessage(slot, message::kNotRespondingToCommand);
            return false;
        }
    }
    return true;
}

bool LoggingEngine::downloadConfigurations(const std::vector<int> &slots,
                                           const std::array<int, kInstrumentSlots + 1> &levels) {
    const DownloadSettings settings = downloadSettingsOf(options_, autoScanDisable_);
    for (const int slot : slots) {
        if (!sendConfiguration(link_, table_, slot, levels[static_cast<std::size_t>(slot)], settings)) {
            showMessage(slot, message::kCommunicationInterruption);
            return false;
        }
    }
    return true;
}

bool LoggingEngine::clearTotalizers(const std::vector<int> &slots) {
    if (!options_.resetTotalizer) return true;
    for (const int slot : slots) {
        if (link_.totalizerClear(table_.slot(slot).bcn) != KVX_OK) {
            showMessage(slot, message::kCommunicationInterruption);
            return false;
        }
    }
    return true;
}

bool LoggingEngine::enableScanning(const std::vector<int> &slots, int startDelay, std::int64_t &startSecond) {
    std::int32_t seconds = 0, milliseconds = 0;
    link_.timeToolbox(seconds, milliseconds);
    startSecond = std::int64_t{seconds} + startDelay;
    const InstrumentTime startTime = instrumentTimeOf(startSecond);
    for (const int slot : slots) {
        const std::int32_t bcn = table_.slot(slot).bcn;
        std::int32_t rc = KVX_INST_BAD_START;
        if (startDelay != 0) rc = link_.scansEnableAt(bcn, startTime, milliseconds);
        // An instrument that rejects the start time starts at once.
        if (rc == KVX_INST_BAD_START) rc = link_.scansEnable(bcn, true);
        if (rc != KVX_OK) {
            showMessage(slot, message::kCommunicationInterruption);
            for (const int started : slots) link_.scansEnable(table_.slot(started).bcn, false);
            return false;
        }
    }
    return true;
}

void LoggingEngine::beginRun(int slot, std::int64_t startSecond) {
    LoggingRun &state = run(slot);
    state.logging = true;
    state.stopTime = stopTimeOf(slot, startSecond);
    frontEnd_.toolbox.loggingChanged(slot, true);
    frontEnd_.windows.redrawIcon(slot);
    frontEnd_.windows.refreshSelectedInstrument(slot);
}

void LoggingEngine::selectMonitorChannels(const std::vector<int> &slots) {
    for (const int slot : slots) {
        const InstrumentSlot &entry = table_.slot(slot);
        if (entry.setup->monitorChannel != 0) link_.instMonitor(entry.bcn, true, entry.setup->monitorChannel);
    }
}

} // namespace korvel

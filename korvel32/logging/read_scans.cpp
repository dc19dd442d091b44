// Reading an instrument's queued scans: the bookkeeping of the run and the
// warnings about the instrument's condition that come with a read.
#include "logging/logging_engine.h"
#include "logging/simulated_scan.h"
#include "platform/string_table.h"

#include <string>

namespace korvel {
namespace {

constexpr std::uint32_t kAttentionFlag = 1u << 31;
constexpr std::uint32_t kStatusQueueOverflow = 1u << 0;
constexpr std::uint32_t kStatusAnalogProcessor = 1u << 1;
constexpr std::uint32_t kStatusRamConstants = 1u << 5;

} // namespace

bool LoggingEngine::readScans(int slot) {
    const InstrumentSlot &entry = table_.slot(slot);
    ScanBuffer &buffer = scanBuffer(slot);
    if (options_.simulateData) {
        const InstrumentSetup *master = masterSetup();
        const bool followsMaster = entry.role == GroupRole::Slave && master != nullptr;
        std::int32_t seconds = 0, milliseconds = 0;
        link_.timeToolbox(seconds, milliseconds);
        simulateScan(buffer, simulationClocks_.at(static_cast<std::size_t>(slot)), run(slot).hasData, *entry.setup,
                     (followsMaster ? *master : *entry.setup).interval1, slot,
                     {seconds, static_cast<unsigned>(milliseconds)});
        countScans(slot);
        return true;
    }
    const std::int32_t rc = link_.scansGet(entry.bcn, static_cast<std::uint32_t>(buffer.batchSize), buffer.block());
    if (rc < 0) {
        // A draining instrument may still be finishing its stop.
        if (!(run(slot).draining && rc == KVX_INST_BUSY)) reportCommunicationInterruption(slot, rc);
        return false;
    }
    checkAttention(slot);
    run(slot).communicationErrorShown = false;
    countScans(slot);
    return true;
}

void LoggingEngine::reportCommunicationInterruption(int slot, std::int32_t code) {
    LoggingRun &state = run(slot);
    if (frontEnd_.toolbox.remoteMode()) {
        frontEnd_.toolbox.reportError(slot, toolbox_error::kCommunication);
    } else if (!state.communicationErrorShown) {
        std::string text = instrumentMessage(message::kCommunicationInterruptionCode, table_.slot(slot).bcn);
        if (const std::size_t at = text.find("%ld"); at != std::string::npos)
            text.replace(at, 3, std::to_string(-std::int64_t{code}));
        ui_.showWarning(WarningKind::CommunicationInterruption, text, {});
    }
    state.communicationErrorShown = true;
}

void LoggingEngine::checkAttention(int slot) {
    std::uint32_t status = 0;
    const bool attention = scanBuffer(slot).header().remaining & kAttentionFlag;
    if (attention && link_.instStatus(table_.slot(slot).bcn, status) == KVX_OK) {
        reportInstrumentStatus(slot, status);
        return;
    }
    run(slot).overflowShown = false;
    run(slot).statusWarningShown = false;
}

void LoggingEngine::reportInstrumentStatus(int slot, std::uint32_t status) {
    LoggingRun &state = run(slot);
    const unsigned bcn = table_.slot(slot).bcn;
    const bool remote = frontEnd_.toolbox.remoteMode();
    if (status & kStatusQueueOverflow) {
        if (remote) {
            frontEnd_.toolbox.reportError(slot, toolbox_error::kScanQueueOverflow);
        } else if (!state.overflowShown) {
            const int detail =
                options_.memoryWrapAround ? message::kOldestScansOverwritten : message::kNewestScansDiscarded;
            ui_.showWarning(WarningKind::ScanQueueOverflow, instrumentMessage(message::kScanQueueOverflow, bcn),
                            resourceString(detail));
        }
    }
    state.overflowShown = status & kStatusQueueOverflow;

    const bool ramConstants = status & kStatusRamConstants;
    if (ramConstants || (status & kStatusAnalogProcessor)) {
        if (remote) {
            frontEnd_.toolbox.reportError(slot, ramConstants ? toolbox_error::kRamConstants
                                                             : toolbox_error::kAnalogProcessor);
        } else if (!state.statusWarningShown) {
            ui_.showWarning(WarningKind::InstrumentStatus,
                            instrumentMessage(
                                ramConstants ? message::kRamConstantsCorrupted : message::kAnalogProcessorSilent, bcn),
                            {});
        }
    }
    state.statusWarningShown = status & (kStatusRamConstants | kStatusAnalogProcessor);
}

void LoggingEngine::countScans(int slot) {
    LoggingRun &state = run(slot);
    ScanBuffer &buffer = scanBuffer(slot);
    const ScanBufferHeader header = buffer.header();
    if (header.count <= 0) return;
    if (table_.slot(slot).setup->toolboxQueueSize != 0) frontEnd_.toolbox.queueScans(slot, buffer);
    state.scansInInstrument = static_cast<std::int32_t>(header.remaining & ~kAttentionFlag);
    state.totalScans += header.count;
    state.newData = state.hasData = true;
    for (int index = 0; index < header.count; ++index) {
        const ScanRecord scan = buffer.record(index);
        state.alarmWordAccumulated |= scan.alarm1 | scan.alarm2;
    }
    buffer.latestScan = buffer.record(header.count - 1);
}

} // namespace korvel

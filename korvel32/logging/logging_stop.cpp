// Stopping logging runs: scanning is disabled and the run drains, so that the
// logging tick still reads the scans the instrument holds.
#include "logging/logging_engine.h"
#include "platform/string_table.h"

namespace korvel {
namespace {
constexpr int kUnableToStopScanning = 55;
// The one refusal to disable scanning that is not worth a warning.
constexpr std::int32_t kInstrumentStillBusy = -5;
} // namespace

int LoggingEngine::stopLogging(std::uint32_t slotMask, CommandSource source) {
    std::vector<int> slots;
    for (const int slot : slotsOf(slotMask)) {
        if (run(slot).logging && !run(slot).draining) slots.push_back(slot);
    }
    if (slots.empty()) return 0;
    BusyCursor cursor(ui_);
    BusyMark mark(*this);
    if (options_.simulateData) {
        for (const int slot : slots) finishRun(slot);
        return 0;
    }
    for (const int slot : slots) link_.instMonitor(table_.slot(slot).bcn, false, 0);
    int reply = 0;
    for (const int slot : slots) {
        const unsigned bcn = table_.slot(slot).bcn;
        const std::int32_t rc = link_.scansEnable(static_cast<std::int32_t>(bcn), false);
        if (rc == KVX_OK) {
            run(slot).draining = true;
            continue;
        }
        endRun(slot);
        if (rc == kInstrumentStillBusy) continue;
        if (source == CommandSource::Remote)
            reply = kReplyUnableToStop;
        else
            ui_.showWarning(WarningKind::DataFile, instrumentMessage(kUnableToStopScanning, bcn), {});
    }
    return reply;
}

int LoggingEngine::stopGroup(CommandSource source) {
    const int master = table_.masterSlot();
    if (master == 0) return 0;
    if (!options_.wiredGroup) return stopLogging(slotBit(master) | slaveSlotMask(table_), source);
    const int masterReply = stopLogging(slotBit(master), source);
    const int slavesReply = stopLogging(slaveSlotMask(table_), source);
    return masterReply != 0 ? masterReply : slavesReply;
}

} // namespace korvel

// Stopping logging runs: scanning is disabled and the run drains, so that the
// logging tick still reads the scans the instrument holds.
#include "logging/logging_engine.h"
#include "platform/string_table.h"

namespace korvel {
namespace {
// The one refusal to disable scanning that is not worth a warning.
constexpr std::int32_t kInstrumentStillBusy = -5;
} // namespace

ToolboxReply LoggingEngine::stopLogging(std::uint32_t slotMask, CommandSource source) {
    std::vector<int> slots;
    for (const int slot : slotsOf(slotMask)) {
        if (run(slot).logging && !run(slot).draining) slots.push_back(slot);
    }
    if (slots.empty()) return ToolboxReply::Done;
    BusyCursor cursor(ui_);
    BusyMark mark(*this);
    if (options_.simulateData) {
        for (const int slot : slots) finishRun(slot);
        return ToolboxReply::Done;
    }
    for (const int slot : slots) link_.instMonitor(table_.slot(slot).bcn, false, 0);
    ToolboxReply reply = ToolboxReply::Done;
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
            reply = ToolboxReply::UnableToStop;
        else
            ui_.showWarning(WarningKind::DataFile, instrumentMessage(message::kUnableToStopScanning, bcn), {});
    }
    return reply;
}

ToolboxReply LoggingEngine::stopGroup(CommandSource source) {
    const int master = table_.masterSlot();
    if (master == 0) return ToolboxReply::Done;
    if (!options_.wiredGroup) return stopLogging(slotBit(master) | slaveSlotMask(table_), source);
    const ToolboxReply masterReply = stopLogging(slotBit(master), source);
    const ToolboxReply slavesReply = stopLogging(slaveSlotMask(table_), source);
    return masterReply != ToolboxReply::Done ? masterReply : slavesReply;
}

} // namespace korvel

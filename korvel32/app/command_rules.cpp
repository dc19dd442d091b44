#include "app/command_rules.h"

#include "app/command_ids.h"

namespace korvel {

using namespace command;

CommandState setupCommandState(const InstrumentTable &table, const LoggingRuns &runs, int selectedSlot,
                               const LoggerOptions &options) {
    CommandState state;
    state.count = table.count();
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (!table.slot(slot).inUse) continue;
        (runs.logging(slot) ? state.anyLogging : state.anyNotLogging) = true;
    }
    if (selectedSlot != 0 && table.slot(selectedSlot).inUse) {
        state.selected = true;
        state.selectedLogging = runs.logging(selectedSlot);
        state.selectedStopping = runs.stopping(selectedSlot);
        state.selectedSlave = table.slot(selectedSlot).role == GroupRole::Slave;
    }
    state.lockout = options.configurationLockout;
    state.clearTotalizer = options.resetTotalizer;
    state.simulate = options.simulateData;
    state.statusOnStart = options.statusOnStart;
    state.statusOnAlarm = options.statusOnAlarm;
    return state;
}

bool commandEnabled(int id, const CommandState &s) {
    const bool any = s.count > 0;
    const bool configurable = any && !s.lockout;
    const bool selectedIdle = s.selected && !s.selectedLogging;
    if (id >= kFirstRecentFile && id < kFirstRecentFile + kRecentFiles) return !s.anyLogging;
    switch (id) {
        case kOpenSetup:
        case kCalibration:
        case kSimulate: return !s.anyLogging;
        case kCreateInstrument: return !s.lockout;
        case kDeleteInstrument:
        case kInstrumentConfiguration:
        case kLoadMxbFile: return configurable && selectedIdle;
        case kGroupInstruments: return configurable && !s.anyLogging;
        case kCommunicationsConfig: return !s.lockout && !s.anyLogging;
        case kInstrumentDescription:
        case kToolbox: return configurable;
        case kCopyChannels: return s.count >= 2 && !s.lockout && s.anyNotLogging;
        case kSaveConfigurationText:
        case kSpy: return any;
        case kStartAll: return s.count >= 2 && s.anyNotLogging;
        case kStopAll: return s.count >= 2 && s.anyLogging;
        case kStartInstrument: return any && selectedIdle && !s.selectedSlave;
        case kStopInstrument: return any && s.selected && s.selectedLogging && !s.selectedStopping && !s.selectedSlave;
        case kTrendLinkDirectory: return !s.trendLinkLoaded;
        default: return true;
    }
}

std::optional<bool> commandChecked(int id, const CommandState &s) {
    switch (id) {
        case kToolbar: return s.toolbarVisible;
        case kStatusBar: return s.statusBarVisible;
        case kClearTotalizer: return s.clearTotalizer;
        case kSimulate: return s.simulate;
        case kShowReadings: return s.readingsVisible;
        case kShowLoggingStatus: return s.loggingStatusVisible;
        case kStatusOnStart: return s.statusOnStart;
        case kStatusOnAlarm: return s.statusOnAlarm;
        case kLockout: return s.lockout;
        default: return std::nullopt;
    }
}

} // namespace korvel

#include "logging/once_per_second.h"

#include "logging/logging_engine.h"

namespace korvel {
namespace {

void sendToStatusWindow(UserInterface &ui, int message, int slot, std::int64_t value) {
    ui.notify(ChildWindow::LoggingStatus, message, slot, static_cast<long>(value));
}

void showNewScans(int slot, LoggingRun &run, const LoggerOptions &options, const FrontEnd &frontEnd) {
    UserInterface &ui = frontEnd.ui;
    run.newData = false;
    frontEnd.liveValues.advise(slot);
    if (frontEnd.windows.selectedSlot() == slot)
        ui.notify(ChildWindow::CurrentReadings, current_readings::kUpdateReadings, slot, 0);
    sendToStatusWindow(ui, logging_status::kScansInInstrument, slot, run.scansInInstrument);
    sendToStatusWindow(ui, logging_status::kScansRetrieved, slot, run.totalScans);
    if (run.alarmWordAccumulated != run.alarmWordShown) {
        sendToStatusWindow(ui, logging_status::kAlarmChannels, slot, run.alarmWordAccumulated);
        // Only a channel newly in alarm calls the user; one leaving alarm does not.
        if (options.statusOnAlarm && (run.alarmWordAccumulated & ~run.alarmWordShown) != 0)
            frontEnd.windows.raiseLoggingStatusOnAlarm();
    }
    run.alarmWordShown = run.alarmWordAccumulated;
}

// Without new scans the status shows the alarms of the newest scan.
void showLatestAlarms(int slot, LoggingRun &run, const ScanRecord &latest, UserInterface &ui) {
    const std::uint32_t word = latest.alarm1 | latest.alarm2;
    if (word == run.alarmWordShown) return;
    run.alarmWordShown = word;
    sendToStatusWindow(ui, logging_status::kAlarmChannels, slot, word);
}

} // namespace

void updateOncePerSecond(const InstrumentTable &table, LoggingEngine &engine, const LoggerOptions &options,
                         const FrontEnd &frontEnd) {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        LoggingRun &run = engine.run(slot);
        if (!table.slot(slot).inUse || !run.logging) continue;
        if (run.newData)
            showNewScans(slot, run, options, frontEnd);
        else if (run.hasData)
            showLatestAlarms(slot, run, engine.scanBuffer(slot).latestScan, frontEnd.ui);
        run.alarmWordAccumulated = 0;
    }
}

} // namespace korvel

#include "app/logging_status_model.h"

#include "platform/window_notifications.h"
#include "setup/text_format.h"

namespace korvel {

namespace {

constexpr int kMostLiveAlarmChannels = 17;

// The prefix and the first channel, then each further channel after the separator.
std::string alarmText(std::uint32_t mask, const char *prefix, char separator, int most) {
    if (mask == 0) return kNoAlarms;
    std::string text;
    int shown = 0;
    for (int channel = 1; channel <= 32; ++channel) {
        if ((mask & (std::uint32_t{1} << (channel - 1))) == 0) continue;
        if (shown == most) return text + "...";
        if (shown > 0) text += separator;
        text += (shown == 0 ? prefix : "") + std::to_string(channel);
        ++shown;
    }
    return text;
}

} // namespace

std::string liveAlarmText(std::uint32_t mask, char listSeparator) {
    return alarmText(mask, "Ch", listSeparator, kMostLiveAlarmChannels);
}

std::string laidOutAlarmText(std::uint32_t mask) { return alarmText(mask, "Ch ", ',', 32); }

LoggingStatusModel::LoggingStatusModel(const InstrumentTable &table, char listSeparator)
        : table_(table), listSeparator_(listSeparator) {
    layOut();
}

LoggingStatusModel::Change LoggingStatusModel::notify(int message, int slot, std::uint32_t value) {
    if (slot < 1 || slot > kInstrumentSlots) return Change::None;
    StatusRow &row = rowOf(slot);
    switch (message) {
        case logging_status::kInstrumentAdded:
        case logging_status::kInstrumentRemoved:
            row = StatusRow{};
            layOut();
            return Change::Rows;
        case logging_status::kLoggingStarted:
            row = StatusRow{};
            if (!anyAlarm()) alarmIcon_ = false;
            return Change::Row;
        case logging_status::kScansRetrieved:
            if (row.scansRetrieved == value) return Change::None;
            row.scansRetrieved = value;
            return Change::Row;
        case logging_status::kScansInInstrument:
            if (row.scansInInstrument == value) return Change::None;
            row.scansInInstrument = value;
            return Change::Row;
        case logging_status::kAlarmChannels:
            if (row.alarmMask == value) return Change::None;
            row.alarmMask = value;
            row.alarmText = liveAlarmText(value, listSeparator_);
            alarmIcon_ = anyAlarm();
            return Change::Row;
        default: return Change::None;
    }
}

// The rows follow the instrument bar; every alarm text is made again.
void LoggingStatusModel::layOut() {
    rows_ = table_.slotsInBcnOrder();
    for (const int slot : rows_) rowOf(slot).alarmText = laidOutAlarmText(row(slot).alarmMask);
}

bool LoggingStatusModel::anyAlarm() const {
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse && row(slot).alarmMask != 0) return true;
    }
    return false;
}

std::string LoggingStatusModel::instrumentColumn() const {
    std::string column;
    for (const int slot : rows_) column += formatted("%02u\n", static_cast<unsigned>(table_.slot(slot).bcn));
    return column;
}

std::string LoggingStatusModel::scansInInstrumentText(int slot) const {
    return std::to_string(row(slot).scansInInstrument);
}

std::string LoggingStatusModel::scansRetrievedText(int slot) const { return std::to_string(row(slot).scansRetrieved); }

} // namespace korvel

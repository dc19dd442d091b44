// The logging status window: for every instrument of the setup the scans
// waiting in the instrument, the scans retrieved in this run and the channels
// that went into alarm, one row per instrument in the instrument bar's order
// (ascending BCN), with an alarm icon while any instrument has an alarm.
#pragma once

#include "setup/instrument_table.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

inline constexpr const char *kNoAlarms = "None";

// The alarm channels as a live alarm shows them: "Ch1,2,5" with the regional
// list separator, ending in "..." after the 17th channel number.
std::string liveAlarmText(std::uint32_t mask, char listSeparator);
// As a re-lay-out shows them: "Ch 1,2,5", every channel.
std::string laidOutAlarmText(std::uint32_t mask);

struct StatusRow {
    std::uint32_t scansInInstrument = 0;
    std::uint32_t scansRetrieved = 0;
    std::uint32_t alarmMask = 0; // bit c - 1: channel c
    std::string alarmText = kNoAlarms;
};

class LoggingStatusModel {
public:
    // What a notification changed: nothing, the slot's row, or the rows.
    enum class Change { None, Row, Rows };

    LoggingStatusModel(const InstrumentTable &table, char listSeparator);

    // The notifications 1035..1040 (window_notifications.h).
    Change notify(int message, int slot, std::uint32_t value);

    // The slots of the rows, top to bottom.
    const std::vector<int> &rows() const { return rows_; }
    const StatusRow &row(int slot) const { return rowsBySlot_.at(static_cast<std::size_t>(slot)); }
    // The instrument column: "%02u\n" per row.
    std::string instrumentColumn() const;
    std::string scansInInstrumentText(int slot) const;
    std::string scansRetrievedText(int slot) const;
    bool alarmIconShown() const { return alarmIcon_; }

private:
    void layOut();
    bool anyAlarm() const;
    StatusRow &rowOf(int slot) { return rowsBySlot_.at(static_cast<std::size_t>(slot)); }

    const InstrumentTable &table_;
    char listSeparator_;
    std::array<StatusRow, kInstrumentSlots + 1> rowsBySlot_{}; // 0 unused
    std::vector<int> rows_;
    bool alarmIcon_ = false;
};

} // namespace korvel

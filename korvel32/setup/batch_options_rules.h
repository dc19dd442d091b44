// The Batch Options dialog of a Trend Link data file: the batch name and what
// makes a batch (the whole logging session, a DIO line held low, or a
// periodic interval, optionally beginning at a time of day).
#pragma once

#include "setup/dialog_refusal.h"
#include "setup/instrument_identity.h"

#include <string>
#include <vector>

namespace korvel {

enum class BatchControl {
    Name,
    Definition,
    DioLine,
    PeriodHours,
    PeriodMinutes,
    StartAtTime,
    StartHours,
    StartMinutes,
};

enum class BatchDefinition { Session, DioLow, Periodic };

class BatchOptionsModel {
public:
    BatchOptionsModel(const DataFileSetup &file, const InstrumentIdentity &identity);

    std::string caption() const;

    BatchDefinition definition() const { return definition_; }
    void chooseDefinition(BatchDefinition definition) { definition_ = definition; }

    static std::vector<std::string> dioItems(); // "DIO 0" ... "DIO 7"
    int dioLine() const { return dioLine_; }
    void chooseDioLine(int line);

    // The name and the hour and minute fields. A period of 1000 hours or more
    // shows as 999 hours and the excess minutes.
    const std::string &text(BatchControl field) const;
    void setText(BatchControl field, std::string text);
    bool startAtTime() const { return startAtTime_; }
    void setStartAtTime(bool on) { startAtTime_ = on; }

    bool enabled(BatchControl control) const;

    // A periodic batch needs a period of hours < 1000 and minutes < 100 that
    // is not 0 (2102); a start time hours < 24 and minutes < 60 (2103).
    Checked<BatchControl> accept();
    void applyTo(DataFileSetup &file) const;

private:
    InstrumentIdentity identity_;
    std::string name_;
    BatchDefinition definition_;
    int dioLine_;
    std::string periodHours_;
    std::string periodMinutes_;
    bool startAtTime_;
    std::string startHours_;
    std::string startMinutes_;
    std::uint16_t period_;
    std::uint16_t start_;
};

} // namespace korvel

// The Auto Rollover dialog: when a data file rolls over (at a size, after a
// time, at an hour of the day, or never) and what low disk space does.
#pragma once

#include "setup/dialog_refusal.h"
#include "setup/instrument_identity.h"

#include <string>

namespace korvel {

enum class RolloverControl { Mode, FileSize, TimeInterval, HourOfDay, FreeDiskSpace, LowDiskAction };

class AutoRolloverModel {
public:
    // The value of the stored mode shows in its field; the fields of the
    // other modes show 1000 (k bytes), 1 (hour) and 0 (hour of day).
    AutoRolloverModel(const DataFileSetup &file, const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    RolloverMode mode() const { return mode_; }
    void chooseMode(RolloverMode mode) { mode_ = mode; }

    const std::string &text(RolloverControl field) const;
    void setText(RolloverControl field, std::string text);

    // Stop Logging (true) or Perform Rollover (false) when disk space runs low.
    bool stopLogging() const { return stopLogging_; }
    void setStopLogging(bool on) { stopLogging_ = on; }

    // A mode's value field only while that mode is chosen.
    bool enabled(RolloverControl control) const;

    // File size 200..100000 k bytes (1500), hour of day 0..23 (1501), time
    // interval 1..99 hours (1502), each for its mode, then the free disk
    // space 0..100000 k bytes (1503).
    Checked<RolloverControl> accept();
    void applyTo(DataFileSetup &file) const;

private:
    InstrumentIdentity identity_;
    char decimalSymbol_;
    RolloverMode mode_;
    std::string fileSize_;
    std::string timeInterval_; // hours
    std::string hourOfDay_;
    std::string freeDiskSpace_;
    bool stopLogging_;
    std::uint32_t value_ = 0;
    std::uint32_t threshold_ = 0;
};

} // namespace korvel

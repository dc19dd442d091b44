// One instrument's .bin or .csv data file while it logs: opened (created,
// overwritten or appended to) by the start command, written a batch at a
// time, flushed at most once a second, rolled over when due and closed at
// the end of the run. An Async instrument or a Master owns one; the scans of
// a Master's slaves go into the Master's file.
#pragma once

#include "datafiles/data_file_group.h"
#include "datafiles/data_output.h"
#include "datafiles/locked_data_file.h"
#include "datafiles/rollover_numbers.h"
#include "datafiles/rollover_schedule.h"
#include "datafiles/scan_format.h"
#include "platform/regional_formats.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace korvel {

class ScanBatch;
class UserInterface;
struct DaylightStates;

enum class DataFileOpen {
    Opened,
    CannotCreate,  // message 15
    CannotOpen,    // message 16
    NotCompatible, // message 17: a .bin file of other channels
    Reported,      // the output has told the user why itself
};

// The message that tells the user why the open failed (0 for Opened).
int dataFileOpenMessage(DataFileOpen result);

// Shows that message about the instrument in a modal box.
void showDataFileOpenFailure(UserInterface &ui, unsigned bcn, DataFileOpen result);

class DataFile final : public DataOutput {
public:
    // group: the instruments of the file; its setups must stay unchanged and
    // alive while the file is open, as they do while they log.
    DataFile(DataFileGroup group, const RegionalFormats &formats);
    // The format refers to the group held here, so the file stays in place.
    DataFile(const DataFile &) = delete;
    DataFile &operator=(const DataFile &) = delete;

    // The open of a start command: by the setup's file mode, and the
    // rollover schedule starts over. now: calendar seconds.
    DataFileOpen open(std::int64_t now);

    bool isOpen() const override { return file_.isOpen(); }
    const std::string &path() const { return setup().path; }

    // Writes the scans of the last read of the owner (the file's only
    // instrument with scans of its own), each record whole. False when the
    // file is not open or the disk took not all of them.
    bool writeBatch(unsigned bcn, const ScanBatch &batch, DaylightStates &daylight) override;

    // Writes one merged scan of a Master group (see ScanFormat).
    bool writeMerged(const ScanRecord &owner, std::span<const ScanRecord *const> slaves,
                     DaylightStates &daylight) override;

    bool flushIfDue(std::int64_t now) override;

    // Rolls the file over to its next free number when the setup's rollover
    // is due. A rollover that finds no free number keeps the file; one whose
    // rename fails leaves it closed, so that the next writes report it. The
    // free space is not watched: the writes report a full disk.
    std::optional<std::string> checkRollover(std::int64_t now) override;

    // False when the system reports that the file could not be stored.
    bool close() override;

private:
    const DataFileSetup &setup() const { return group_.owner.setup->dataFile; }
    DataFileOpen create(std::int64_t now);
    DataFileOpen openToAppend();
    void rollOver(std::int64_t now);

    DataFileGroup group_;
    RegionalFormats formats_;
    std::unique_ptr<ScanFormat> format_;
    LockedDataFile file_;
    RolloverNumbers numbers_;
    RolloverSchedule schedule_;
    std::string merged_;         // kept between writes for its capacity
    std::int64_t lastFlush_ = 0; // calendar second of the last flush
};

} // namespace korvel

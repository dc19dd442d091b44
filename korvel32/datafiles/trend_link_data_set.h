// The data set of one logging instrument: registered under its name, opened
// (an existing one taken over, or its .NOW file rolled over first), its tags
// enabled or added, written a batch of scans at a time with its batches, kept
// up every 5 seconds and closed. Every open failure is told to the user
// before open returns false; during the run the caller reports failures.
#pragma once

#include "datafiles/data_file_group.h"
#include "datafiles/trend_link_batches.h"
#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_tags.h"
#include "datafiles/trend_link_writing.h"
#include "platform/clock.h"

#include <tbase32.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

class ScanBatch;
struct DaylightStates;

enum class DataSetWrite {
    Written,
    Failed, // the scans are not stored; later ones may be
    Broken, // a batch could not be kept: the output closes
};

class TrendLinkDataSet {
public:
    // settings: the data file setup of the group's owner; part and settings
    // stay alive and unchanged while the instrument logs.
    TrendLinkDataSet(TrendLinkInterface &trendLink, const InstrumentPart &part, std::string name,
                     const DataFileSetup &settings);
    ~TrendLinkDataSet();
    TrendLinkDataSet(const TrendLinkDataSet &) = delete;
    TrendLinkDataSet &operator=(const TrendLinkDataSet &) = delete;

    const std::string &name() const { return name_; }
    const InstrumentPart &part() const { return part_; }
    unsigned bcn() const { return part_.bcn; }
    bool isOpen() const { return dataSet_ != nullptr; }

    // Makes infolink.ini name directory for the data set; false, after
    // telling the user, when it cannot.
    bool registerIn(const std::string &directory, bool grouped);

    // Opens the data set for the run: now is the PC's clock. False when it
    // cannot be used; the user has been told why and nothing stays open.
    bool open(const std::string &description, CalendarTime now);

    DataSetWrite write(const ScanBatch &batch, DaylightStates &daylight);

    // Stores what the historian still holds. False on failure.
    bool storeQueued();
    // The .NOW file's size in bytes; nullopt when it cannot be told.
    std::optional<std::int64_t> nowFileSize();
    // Rolls the .NOW file over in the background unless that is under way.
    bool rollOver();

    // Waits for a rollover under way, stores the last values, ends the open
    // batch and closes the data set. False when any of it failed.
    bool close();

private:
    bool refuse(const std::string &text);
    bool fail(const char *function);
    bool failStoring();
    bool checkExisting(CalendarTime now, bool &takenOver);
    bool rollOverFirst(const std::string &nowFile);
    bool store(StoreUntil until) { return storeQueuedValues(trendLink_, dataSet_, until); }
    bool enableOrAdd(const TrendLinkTag &tag, bool takenOver);
    bool add(const TrendLinkTag &tag);
    bool prepareTags(bool takenOver);

    TrendLinkInterface &trendLink_;
    TrendLinkLibrary &library_;
    const InstrumentPart &part_;
    const DataFileSetup &settings_;
    std::string name_;
    std::string directory_;
    std::vector<TrendLinkTag> tags_;
    TBaseDataSet dataSet_ = nullptr;
    std::optional<TrendLinkBatches> batches_;
    // Kept between writes for their capacity.
    std::vector<double> times_;
    std::vector<float> values_;
    std::vector<std::uint8_t> dio_;
};

} // namespace korvel

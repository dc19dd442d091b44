// The Trend Link output of an Async instrument or a Master group: one data
// set per instrument in the directory beside the data-file path, the
// pointer file at that path and the chart file for the chart program. The
// checks of a run watch the free disk space and roll the .NOW files over by
// the owner's settings.
#pragma once

#include "datafiles/data_file_group.h"
#include "datafiles/data_output.h"
#include "datafiles/rollover_schedule.h"
#include "datafiles/trend_link_data_set.h"
#include "datafiles/trend_link_interface.h"
#include "platform/clock.h"

#include <memory>
#include <vector>

namespace korvel {

class TrendLinkOutput final : public DataOutput {
public:
    // The group's setups stay alive and unchanged while it logs.
    TrendLinkOutput(DataFileGroup group, TrendLinkInterface &trendLink, Clock &clock);
    ~TrendLinkOutput() override;
    TrendLinkOutput(const TrendLinkOutput &) = delete;
    TrendLinkOutput &operator=(const TrendLinkOutput &) = delete;

    // The open of a start command, with its messages. False when the output
    // cannot be used: the user has been told why and nothing stays open.
    bool open();

    bool isOpen() const override { return open_; }
    bool writeBatch(unsigned bcn, const ScanBatch &batch, DaylightStates &daylight) override;
    // A group's scans are never merged into one record here.
    bool writeMerged(const ScanRecord &, std::span<const ScanRecord *const>, DaylightStates &) override {
        return false;
    }
    // The historian stores every batch when it is written.
    bool flushIfDue(std::int64_t) override { return false; }
    std::optional<std::string> checkRollover(std::int64_t now) override;
    bool close() override;

private:
    const DataFileSetup &settings() const { return group_.owner.setup->dataFile; }
    bool checkFreeSpaceAtStart();
    bool registerDataSets();
    bool openDataSets();
    bool writePointerFile();
    bool prepareChart();
    std::optional<std::string> checkFreeSpace(std::int64_t now);
    bool rollOverAll(std::int64_t now);
    bool fail(const std::string &text);

    DataFileGroup group_;
    TrendLinkInterface &trendLink_;
    Clock &clock_;
    std::string name_;                                        // the data set name without the group's suffixes
    std::string directory_;                                   // where the group's data sets lie
    std::vector<std::unique_ptr<TrendLinkDataSet>> dataSets_; // the owner's, then each slave's
    std::vector<RolloverSchedule> schedules_;                 // one per data set
    RolloverCheckGate checks_;
    bool lowDiskWarned_ = false;
    bool open_ = false;
};

} // namespace korvel

// The batches of one data set while an instrument logs, by the setup's batch
// type: the whole run (0), each time a DIO line is held low (1), or periods
// of fixed length from the first scan (2) or from a time of day (3). Each
// batch is named after the setup's batch name (or the data file's) and a
// number that goes on from the last batch of the data set.
#pragma once

#include "setup/instrument_setup.h"

#include <tbase32.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace korvel {

class TrendLinkLibrary;

enum class BatchType : std::uint8_t { Run = 0, DioLow = 1, Periodic = 2, PeriodicFromTimeOfDay = 3 };

class TrendLinkBatches {
public:
    // settings: the data file setup of the group's owner, kept alive by the run.
    TrendLinkBatches(TrendLinkLibrary &library, const DataFileSetup &settings);

    // At the open of the data set: the number of the next batch from those
    // the data set lists, and the first period start of type 3 from now
    // (calendar seconds). False when the list cannot be read.
    bool start(TBaseDataSet dataSet, std::int64_t now);

    // After each write of scans (times in Trend Link time, with each scan's
    // digital I/O byte): begins and ends batches. False when a batch call
    // failed.
    bool afterWrite(TBaseDataSet dataSet, std::span<const double> times, std::span<const std::uint8_t> dio);

    // At the close: the open batch ends 1 ms after the newest stored time.
    bool finish(TBaseDataSet dataSet, double newestTime);

    bool batchOpen() const { return openStart_.has_value(); }

private:
    bool begin(TBaseDataSet dataSet, double time);
    bool end(TBaseDataSet dataSet, double time);
    bool startPeriods(TBaseDataSet dataSet, double newestTime);
    std::optional<unsigned> lastListedNumber(TBaseDataSet dataSet, bool &readable);

    TrendLinkLibrary &library_;
    const DataFileSetup &settings_;
    std::string nameBase_;
    unsigned nextNumber_ = 1;
    std::optional<double> openStart_;   // the open batch began then
    std::optional<double> periodStart_; // the next period of types 2 and 3
};

} // namespace korvel

// The logger's one way to the Trend Link historian libtbase32.so (and to
// LocalToGMT of libtimecn32.so): loaded at first use from the Trend Link
// directory, every function taken by name. Each member is the historian's
// function of the same name with its results (tbase32.h); outputs are written
// only on success. A test overrides the calls it needs to fail in ways the
// historian cannot be made to, and leaves the rest to the library.
#pragma once

#include "platform/dynamic_library.h"

#include <tbase32.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace korvel {

inline constexpr char kTrendLinkLibraryFile[] = "libtbase32.so";
inline constexpr char kTimeConversionLibraryFile[] = "libtimecn32.so";

enum class TrendLinkLoad {
    Loaded,
    LibraryMissing,  // no loadable library in the directory
    FunctionMissing, // a function the logger calls is not exported
    StartFailed,     // TBaseInitTBase refused
};

class TrendLinkLibrary {
public:
    TrendLinkLibrary();
    virtual ~TrendLinkLibrary();
    TrendLinkLibrary(const TrendLinkLibrary &) = delete;
    TrendLinkLibrary &operator=(const TrendLinkLibrary &) = delete;

    // Loads libtbase32.so from directory and starts it; LocalToGMT is taken
    // from libtimecn32.so in programDirectory when it lies there. Nothing
    // stays loaded unless the result is Loaded.
    TrendLinkLoad load(const std::string &directory, const std::string &programDirectory);
    void unload();
    bool loaded() const { return tbase_.loaded(); }
    // What the system or the historian said when the last load failed.
    const std::string &loadError() const { return loadError_; }
    // The four batch functions are optional: all of them, or none is used.
    bool hasBatches() const;

    virtual int getInfolinkPath(std::string &path);

    virtual int addDataSet(const std::string &name, const std::string &directory);
    virtual int getDataSetPath(const std::string &name, std::string &directory);
    virtual int deleteDataSet(const std::string &name);
    virtual TBaseDataSet openDataSet(const std::string &name, const std::string &description);
    virtual int closeDataSet(TBaseDataSet dataSet, int finish);
    virtual int getNowInformation(TBaseDataSet dataSet, std::string &path, std::int64_t &sizeBytes);
    virtual int rollOverNowFile(TBaseDataSet dataSet, int background);
    virtual int rollOverInProgress(TBaseDataSet dataSet);

    virtual TBaseTag addTag(TBaseDataSet dataSet, const std::string &name, const std::string &description,
                            const std::string &units, double high, double low, double deadband);
    virtual int modifyTagInfo(TBaseTag tag, const std::string &description, const std::string &units, double high,
                              double low, double deadband);
    virtual int getTagCount(TBaseDataSet dataSet);
    virtual int getFirstTagName(TBaseDataSet dataSet, std::string &name);
    virtual TBaseTag enableTagLogging(TBaseDataSet dataSet, const std::string &name);
    virtual int setAllTagTuning(TBaseDataSet dataSet, const TBaseTagTuning &tuning, int wordCount);
    virtual int triggerAllTags(TBaseDataSet dataSet);
    virtual int getNumUpdateTags(TBaseDataSet dataSet);

    virtual int updateAllTags(TBaseDataSet dataSet, int scanCount, const double *times, const float *values);
    virtual int writeProcessing(TBaseDataSet dataSet);
    virtual double getNewestTime(TBaseDataSet dataSet);

    virtual int addBatch(TBaseDataSet dataSet, const std::string &name, double startTime);
    virtual int endBatch(TBaseDataSet dataSet, double startTime, double endTime);
    virtual int getFirstBatchInfo(TBaseDataSet dataSet, std::string &name, double &startTime, double &endTime);
    virtual int getNextBatchInfo(TBaseDataSet dataSet, std::string &name, double &startTime, double &endTime);

    virtual int getLastErrorNumber();
    virtual std::string getLastErrorString();

    // The calendar second of a local time (tm_isdst chooses between the two
    // readings of an hour the clocks pass twice): LocalToGMT when it was
    // found, else the C library. nullopt when the time cannot be converted.
    virtual std::optional<std::int64_t> localToGmt(const std::tm &local);

private:
    struct Functions;

    DynamicLibrary tbase_;
    DynamicLibrary timeConversion_;
    std::unique_ptr<Functions> functions_; // what load took from the libraries
    std::string loadError_;
};

} // namespace korvel

#include "datafiles/trend_link_library.h"

#include "platform/clock.h"

#include <timecn32.h>

#include <array>
#include <filesystem>
#include <vector>

namespace korvel {
namespace {

// Room for the paths and names the historian hands back.
constexpr int kTextCapacity = 4096;

// Exported by every historian the logger works with, though the logger does
// not call them: a library without one of them is of another kind.
constexpr std::array kOtherRequiredNames{
    "TBaseGetDataSetList",    "TBaseGetNextTagName",       "TBaseOpenTag",   "TBaseCloseTag",
    "TBaseDisableTagLogging", "TBaseDisableAllTagLogging", "TBaseUpdateTag", "TBaseFetchData",
};

// Takes functions from a library by name, remembering the first that is missing.
class FunctionTaker {
public:
    explicit FunctionTaker(const DynamicLibrary &library) : library_(library) {}

    template <typename Function>
    FunctionTaker &operator()(const char *name, Function &function) {
        function = library_.function<Function>(name);
        if (function == nullptr && missing_.empty()) missing_ = name;
        return *this;
    }
    FunctionTaker &require(const char *name) {
        if (library_.symbol(name) == nullptr && missing_.empty()) missing_ = name;
        return *this;
    }
    const std::string &missing() const { return missing_; }

private:
    const DynamicLibrary &library_;
    std::string missing_;
};

std::string textOf(const std::vector<char> &buffer, int length) {
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

} // namespace

struct TrendLinkLibrary::Functions {
    decltype(&TBaseInitTBase) initTBase = nullptr;
    decltype(&TBaseGetInfolinkPath) getInfolinkPath = nullptr;
    decltype(&TBaseAddDataSet) addDataSet = nullptr;
    decltype(&TBaseGetDataSetPath) getDataSetPath = nullptr;
    decltype(&TBaseDeleteDataSet) deleteDataSet = nullptr;
    decltype(&TBaseOpenDataSet) openDataSet = nullptr;
    decltype(&TBaseCloseDataSet) closeDataSet = nullptr;
    decltype(&TBaseGetNOWInformation) getNowInformation = nullptr;
    decltype(&TBaseRollOverNOWFile) rollOverNowFile = nullptr;
    decltype(&TBaseRollOverInProgress) rollOverInProgress = nullptr;
    decltype(&TBaseAddTag) addTag = nullptr;
    decltype(&TBaseModifyTagInfo) modifyTagInfo = nullptr;
    decltype(&TBaseGetTagCount) getTagCount = nullptr;
    decltype(&TBaseGetFirstTagName) getFirstTagName = nullptr;
    decltype(&TBaseEnableTagLogging) enableTagLogging = nullptr;
    decltype(&TBaseSetAllTagTuning) setAllTagTuning = nullptr;
    decltype(&TBaseTriggerAllTags) triggerAllTags = nullptr;
    decltype(&TBaseGetNumUpdateTags) getNumUpdateTags = nullptr;
    decltype(&TBaseUpdateAllTags) updateAllTags = nullptr;
    decltype(&TBaseWriteProcessing) writeProcessing = nullptr;
    decltype(&TBaseGetNewestTime) getNewestTime = nullptr;
    decltype(&TBaseGetLastErrorNumber) getLastErrorNumber = nullptr;
    decltype(&TBaseGetLastErrorString) getLastErrorString = nullptr;
    decltype(&TBaseAddBatch) addBatch = nullptr;
    decltype(&TBaseEndBatch) endBatch = nullptr;
    decltype(&TBaseGetFirstBatchInfo) getFirstBatchInfo = nullptr;
    decltype(&TBaseGetNextBatchInfo) getNextBatchInfo = nullptr;
    decltype(&LocalToGMT) localToGmt = nullptr;

    // The name of the first function the library lacks; empty when it has all.
    std::string takeAll(const DynamicLibrary &library) {
        FunctionTaker take(library);
        take("TBaseInitTBase", initTBase)("TBaseGetInfolinkPath", getInfolinkPath)("TBaseAddDataSet", addDataSet);
        take("TBaseGetDataSetPath", getDataSetPath)("TBaseDeleteDataSet", deleteDataSet);
        take("TBaseOpenDataSet", openDataSet)("TBaseCloseDataSet", closeDataSet);
        take("TBaseGetNOWInformation", getNowInformation)("TBaseRollOverNOWFile", rollOverNowFile);
        take("TBaseRollOverInProgress", rollOverInProgress)("TBaseAddTag", addTag);
        take("TBaseModifyTagInfo", modifyTagInfo)("TBaseGetTagCount", getTagCount);
        take("TBaseGetFirstTagName", getFirstTagName)("TBaseEnableTagLogging", enableTagLogging);
        take("TBaseSetAllTagTuning", setAllTagTuning)("TBaseTriggerAllTags", triggerAllTags);
        take("TBaseGetNumUpdateTags", getNumUpdateTags)("TBaseUpdateAllTags", updateAllTags);
        take("TBaseWriteProcessing", writeProcessing)("TBaseGetNewestTime", getNewestTime);
        take("TBaseGetLastErrorNumber", getLastErrorNumber)("TBaseGetLastErrorString", getLastErrorString);
        for (const char *name : kOtherRequiredNames) take.require(name);
        return take.missing();
    }

    // All four batch functions or none of them.
    void takeBatches(const DynamicLibrary &library) {
        FunctionTaker take(library);
        take("TBaseAddBatch", addBatch)("TBaseEndBatch", endBatch)("TBaseGetFirstBatchInfo", getFirstBatchInfo);
        take("TBaseGetNextBatchInfo", getNextBatchInfo);
        if (take.missing().empty()) return;
        addBatch = nullptr;
        endBatch = nullptr;
        getFirstBatchInfo = nullptr;
        getNextBatchInfo = nullptr;
    }
};

TrendLinkLibrary::TrendLinkLibrary() : functions_(std::make_unique<Functions>()) {}

TrendLinkLibrary::~TrendLinkLibrary() = default;

TrendLinkLoad TrendLinkLibrary::load(const std::string &directory, const std::string &programDirectory) {
    unload();
    DynamicLibrary library = DynamicLibrary::open(std::filesystem::path(directory) / kTrendLinkLibraryFile);
    if (!library.loaded()) {
        loadError_ = library.error();
        return TrendLinkLoad::LibraryMissing;
    }
    Functions taken;
    loadError_ = taken.takeAll(library);
    if (!loadError_.empty()) return TrendLinkLoad::FunctionMissing;
    taken.takeBatches(library);
    if (taken.initTBase() != 0) {
        loadError_ = taken.getLastErrorString();
        return TrendLinkLoad::StartFailed;
    }
    timeConversion_ = DynamicLibrary::open(std::filesystem::path(programDirectory) / kTimeConversionLibraryFile);
    taken.localToGmt = timeConversion_.function<decltype(&LocalToGMT)>("LocalToGMT");
    tbase_ = std::move(library);
    *functions_ = taken;
    loadError_.clear();
    return TrendLinkLoad::Loaded;
}

void TrendLinkLibrary::unload() {
    *functions_ = Functions{};
    timeConversion_.close();
    tbase_.close();
}

bool TrendLinkLibrary::hasBatches() const { return functions_->addBatch != nullptr; }

int TrendLinkLibrary::getInfolinkPath(std::string &path) {
    std::vector<char> buffer(kTextCapacity);
    const int length = functions_->getInfolinkPath(buffer.data(), kTextCapacity);
    if (length >= 0) path = textOf(buffer, length);
    return length;
}

int TrendLinkLibrary::addDataSet(const std::string &name, const std::string &directory) {
    return functions_->addDataSet(name.c_str(), directory.c_str());
}

int TrendLinkLibrary::getDataSetPath(const std::string &name, std::string &directory) {
    std::vector<char> buffer(kTextCapacity);
    const int length = functions_->getDataSetPath(name.c_str(), buffer.data(), kTextCapacity);
    if (length >= 0) directory = textOf(buffer, length);
    return length;
}

int TrendLinkLibrary::deleteDataSet(const std::string &name) { return functions_->deleteDataSet(name.c_str()); }

TBaseDataSet TrendLinkLibrary::openDataSet(const std::string &name, const std::string &description) {
    return functions_->openDataSet(name.c_str(), description.c_str());
}

int TrendLinkLibrary::closeDataSet(TBaseDataSet dataSet, int finish) {
    return functions_->closeDataSet(dataSet, finish);
}

int TrendLinkLibrary::getNowInformation(TBaseDataSet dataSet, std::string &path, std::int64_t &sizeBytes) {
    std::vector<char> buffer(kTextCapacity);
    std::int64_t size = 0;
    const int result = functions_->getNowInformation(dataSet, buffer.data(), kTextCapacity, &size);
    if (result >= 0) {
        path = buffer.data();
        sizeBytes = size;
    }
    return result;
}

int TrendLinkLibrary::rollOverNowFile(TBaseDataSet dataSet, int background) {
    return functions_->rollOverNowFile(dataSet, background);
}

int TrendLinkLibrary::rollOverInProgress(TBaseDataSet dataSet) { return functions_->rollOverInProgress(dataSet); }

TBaseTag TrendLinkLibrary::addTag(TBaseDataSet dataSet, const std::string &name, const std::string &description,
                                  const std::string &units, double high, double low, double deadband) {
    return functions_->addTag(dataSet, name.c_str(), description.c_str(), units.c_str(), high, low, deadband);
}

int TrendLinkLibrary::modifyTagInfo(TBaseTag tag, const std::string &description, const std::string &units, double high,
                                    double low, double deadband) {
    return functions_->modifyTagInfo(tag, description.c_str(), units.c_str(), high, low, deadband);
}

int TrendLinkLibrary::getTagCount(TBaseDataSet dataSet) { return functions_->getTagCount(dataSet); }

int TrendLinkLibrary::getFirstTagName(TBaseDataSet dataSet, std::string &name) {
    std::vector<char> buffer(kTextCapacity);
    const int result = functions_->getFirstTagName(dataSet, buffer.data(), kTextCapacity);
    if (result == 1) name = buffer.data();
    return result;
}

TBaseTag TrendLinkLibrary::enableTagLogging(TBaseDataSet dataSet, const std::string &name) {
    return functions_->enableTagLogging(dataSet, name.c_str());
}

int TrendLinkLibrary::setAllTagTuning(TBaseDataSet dataSet, const TBaseTagTuning &tuning, int wordCount) {
    return functions_->setAllTagTuning(dataSet, &tuning, wordCount);
}

int TrendLinkLibrary::triggerAllTags(TBaseDataSet dataSet) { return functions_->triggerAllTags(dataSet); }

int TrendLinkLibrary::getNumUpdateTags(TBaseDataSet dataSet) { return functions_->getNumUpdateTags(dataSet); }

int TrendLinkLibrary::updateAllTags(TBaseDataSet dataSet, int scanCount, const double *times, const float *values) {
    return functions_->updateAllTags(dataSet, scanCount, times, values);
}

int TrendLinkLibrary::writeProcessing(TBaseDataSet dataSet) { return functions_->writeProcessing(dataSet); }

double TrendLinkLibrary::getNewestTime(TBaseDataSet dataSet) { return functions_->getNewestTime(dataSet); }

int TrendLinkLibrary::addBatch(TBaseDataSet dataSet, const std::string &name, double startTime) {
    return functions_->addBatch(dataSet, name.c_str(), startTime);
}

int TrendLinkLibrary::endBatch(TBaseDataSet dataSet, double startTime, double endTime) {
    return functions_->endBatch(dataSet, startTime, endTime);
}

int TrendLinkLibrary::getFirstBatchInfo(TBaseDataSet dataSet, std::string &name, double &startTime, double &endTime) {
    std::vector<char> buffer(kTextCapacity);
    const int result = functions_->getFirstBatchInfo(dataSet, buffer.data(), kTextCapacity, &startTime, &endTime);
    if (result == 1) name = buffer.data();
    return result;
}

int TrendLinkLibrary::getNextBatchInfo(TBaseDataSet dataSet, std::string &name, double &startTime, double &endTime) {
    std::vector<char> buffer(kTextCapacity);
    const int result = functions_->getNextBatchInfo(dataSet, buffer.data(), kTextCapacity, &startTime, &endTime);
    if (result == 1) name = buffer.data();
    return result;
}

int TrendLinkLibrary::getLastErrorNumber() { return functions_->getLastErrorNumber(); }

std::string TrendLinkLibrary::getLastErrorString() {
    const char *text = functions_->getLastErrorString();
    return text != nullptr ? text : "";
}

std::optional<std::int64_t> TrendLinkLibrary::localToGmt(const std::tm &local) {
    if (functions_->localToGmt == nullptr) {
        std::tm fields = local;
        const std::int64_t seconds = calendarSecondsOf(fields);
        if (seconds == -1) return std::nullopt;
        return seconds;
    }
    const int daylight = local.tm_isdst > 0 ? 1 : (local.tm_isdst == 0 ? 0 : -1);
    const TimeCnLocalTime time{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                               local.tm_min,         local.tm_sec,     daylight};
    long long seconds = 0;
    if (functions_->localToGmt(&time, &seconds) != 0) return std::nullopt;
    return seconds;
}

} // namespace korvel

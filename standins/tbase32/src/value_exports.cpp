// Values: giving them, storing them, reading them back.
#include "api_state.h"
#include "data_set_reader.h"

using namespace tbase;

extern "C" {

TBASE_API int TBaseUpdateTag(TBaseTag tag, double time, double value) {
    return guarded(-1, [&](const Registry &) {
        ownerOf(tag).writer.update(tagOf(tag), time, value);
        return 0;
    });
}

TBASE_API int TBaseUpdateAllTags(TBaseDataSet dataSet, int scanCount, const double *times, const float *values) {
    return guarded(-1, [&](const Registry &) {
        DataSetWriter &writer = dataSetOf(dataSet).writer;
        if (scanCount < 0) fail(TBASE_E_ARGUMENT, "The scan count is negative");
        requireArgument(scanCount == 0 || times != nullptr, "Scan times");
        requireArgument(scanCount == 0 || writer.updateTagCount() == 0 || values != nullptr, "Scan values");
        writer.updateAll(scanCount, times, values);
        return 0;
    });
}

TBASE_API int TBaseWriteProcessing(TBaseDataSet dataSet) {
    return guarded(-1, [&](const Registry &) { return dataSetOf(dataSet).writer.process() ? 1 : 0; });
}

TBASE_API int TBaseFetchData(const char *dataSetName, const char *tagName, double afterTime, double untilTime,
                             double *times, double *values, int maxCount) {
    return guarded(-1, [&](const Registry &registry) {
        requireArgument(dataSetName != nullptr, "Data set name");
        requireArgument(tagName != nullptr, "Tag name");
        if (maxCount < 0) fail(TBASE_E_ARGUMENT, "The value count is negative");
        requireArgument(maxCount == 0 || (times != nullptr && values != nullptr), "Value buffers");
        const Registry::Entry entry = registry.entry(dataSetName);
        DataSetReader reader(DataSetFiles{entry.directory, entry.name});
        const auto tag = reader.tag(tagName);
        if (!tag) fail(TBASE_E_TAG_UNKNOWN, "Data set " + entry.name + " has no tag " + tagName);
        const auto found = reader.fetch(*tag, afterTime, untilTime, static_cast<std::size_t>(maxCount));
        for (std::size_t i = 0; i < found.size(); ++i) {
            times[i] = found[i].time;
            values[i] = found[i].value;
        }
        return static_cast<int>(found.size());
    });
}

TBASE_API double TBaseGetNewestTime(TBaseDataSet dataSet) {
    return guarded(-1.0, [&](const Registry &) { return dataSetOf(dataSet).writer.newestTime(); });
}

} // extern "C"

// Batches: named periods of a data set.
#include "api_state.h"
#include "name_rules.h"

using namespace tbase;

namespace {

int copyBatch(TBaseDataSetObject &dataSet, char *name, int nameSize, double *startTime, double *endTime) {
    if (dataSet.nextBatch >= dataSet.batchWalk.size()) return 0;
    const BatchInfo &batch = dataSet.batchWalk[dataSet.nextBatch];
    copyOut(batch.name, name, nameSize);
    if (startTime) *startTime = batch.start;
    if (endTime) *endTime = batch.end.value_or(0.0);
    ++dataSet.nextBatch;
    return 1;
}

} // namespace

extern "C" {

TBASE_API int TBaseAddBatch(TBaseDataSet dataSet, const char *name, double startTime) {
    return guarded(-1, [&](const Registry &) {
        DataSetWriter &writer = dataSetOf(dataSet).writer;
        checkBatchName(name);
        writer.addBatch(name, startTime);
        return 0;
    });
}

TBASE_API int TBaseEndBatch(TBaseDataSet dataSet, double startTime, double endTime) {
    return guarded(-1, [&](const Registry &) {
        dataSetOf(dataSet).writer.endBatch(startTime, endTime);
        return 0;
    });
}

TBASE_API int TBaseGetFirstBatchInfo(TBaseDataSet dataSet, char *name, int nameSize, double *startTime,
                                     double *endTime) {
    return guarded(-1, [&](const Registry &) {
        TBaseDataSetObject &open = dataSetOf(dataSet);
        open.batchWalk = open.writer.batches();
        open.nextBatch = 0;
        return copyBatch(open, name, nameSize, startTime, endTime);
    });
}

TBASE_API int TBaseGetNextBatchInfo(TBaseDataSet dataSet, char *name, int nameSize, double *startTime,
                                    double *endTime) {
    return guarded(-1,
                   [&](const Registry &) { return copyBatch(dataSetOf(dataSet), name, nameSize, startTime, endTime); });
}

} // extern "C"

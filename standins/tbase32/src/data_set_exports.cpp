// Start, infolink.ini and the data sets' lifecycle.
#include "api_state.h"
#include "data_set_reader.h"
#include "name_rules.h"

using namespace tbase;

namespace {

DataSetFiles filesOf(const Registry::Entry &entry) { return DataSetFiles{entry.directory, entry.name}; }

} // namespace

extern "C" {

TBASE_API int TBaseInitTBase(void) {
    std::lock_guard<std::mutex> lock(apiLock());
    setLastError(TBASE_OK, "");
    try {
        Registry registry = Registry::located();
        registry.create();
        initialisedRegistry() = std::move(registry);
        return 0;
    } catch (const StoreError &error) {
        setLastError(error.number(), error.what());
    }
    return -1;
}

TBASE_API int TBaseGetInfolinkPath(char *path, int pathSize) {
    return guarded(-1, [&](const Registry &registry) { return copyOut(registry.path(), path, pathSize); });
}

TBASE_API int TBaseAddDataSet(const char *name, const char *directory) {
    return guarded(-1, [&](const Registry &registry) {
        checkDataSetName(name);
        checkDirectory(directory);
        std::string path(directory);
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        registry.add(name, path);
        return 0;
    });
}

TBASE_API int TBaseGetDataSetPath(const char *name, char *directory, int directorySize) {
    return guarded(-1, [&](const Registry &registry) {
        requireArgument(name != nullptr, "Data set name");
        return copyOut(registry.entry(name).directory, directory, directorySize);
    });
}

TBASE_API int TBaseDeleteDataSet(const char *name) {
    return guarded(-1, [&](const Registry &registry) {
        requireArgument(name != nullptr, "Data set name");
        const DataSetFiles files = filesOf(registry.entry(name));
        if (DataSetLock::isHeld(files.lockPath()))
            fail(TBASE_E_DATA_SET_IN_USE, "Data set " + files.name + " is open and cannot be deleted");
        registry.remove(files.name);
        return 0;
    });
}

TBASE_API int TBaseGetDataSetList(char *names, int namesSize) {
    return guarded(-1, [&](const Registry &registry) {
        const std::vector<std::string> registered = registry.names();
        std::string list;
        for (const std::string &name : registered) list.append(name).push_back('\0');
        copyOut(list, names, namesSize); // the zero byte copyOut adds ends the list
        return static_cast<int>(registered.size());
    });
}

TBASE_API TBaseDataSet TBaseOpenDataSet(const char *name, const char *description) {
    return guarded<TBaseDataSet>(nullptr, [&](const Registry &registry) {
        requireArgument(name != nullptr, "Data set name");
        const std::string text = checkedText(description, TBASE_MAX_DESCRIPTION, "Data set description");
        auto *dataSet = new TBaseDataSetObject(filesOf(registry.entry(name)), text);
        TBaseDataSet handle = adopt(dataSet);
        for (const auto &tag : dataSet->writer.tags()) handleOf(*tag, *dataSet);
        return handle;
    });
}

TBASE_API int TBaseCloseDataSet(TBaseDataSet dataSet, int finish) {
    return guarded(-1, [&](const Registry &) {
        struct ReleaseAfterwards {
            TBaseDataSetObject *open;
            ~ReleaseAfterwards() { release(open); }
        } closing{&dataSetOf(dataSet)};
        closing.open->writer.finish(finish != 0);
        return 0;
    });
}

TBASE_API int TBaseGetNOWInformation(TBaseDataSet dataSet, char *path, int pathSize, int64_t *sizeBytes) {
    return guarded(-1, [&](const Registry &) {
        DataSetWriter &writer = dataSetOf(dataSet).writer;
        copyOut(writer.files().nowPath(), path, pathSize);
        if (sizeBytes) *sizeBytes = writer.nowFileSize();
        return 0;
    });
}

TBASE_API int TBaseRollOverNOWFile(TBaseDataSet dataSet, int background) {
    return guarded(-1, [&](const Registry &) {
        DataSetWriter &writer = dataSetOf(dataSet).writer;
        if (background)
            writer.requestRollover();
        else
            writer.rollOverNow();
        return 0;
    });
}

TBASE_API int TBaseRollOverInProgress(TBaseDataSet dataSet) {
    return guarded(-1, [&](const Registry &) { return dataSetOf(dataSet).writer.rolloverInProgress() ? 1 : 0; });
}

} // extern "C"

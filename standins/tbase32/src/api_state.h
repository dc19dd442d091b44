// What the exported functions share: the registry found by TBaseInitTBase,
// the open handles (checked on every call, so a stale handle is an error and
// not a crash), one lock that serialises calls, and each thread's last error.
#pragma once

#include <cstddef>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data_set_registry.h"
#include "data_set_writer.h"
#include "store_error.h"
#include "tbase32.h"

// The object behind a TBaseDataSet handle.
struct TBaseDataSetObject {
    TBaseDataSetObject(tbase::DataSetFiles files, const std::string &description)
            : writer(std::move(files), description) {}

    tbase::DataSetWriter writer;
    std::size_t nextTag = 0;
    std::vector<tbase::BatchInfo> batchWalk;
    std::size_t nextBatch = 0;
};

namespace tbase {

std::mutex &apiLock();
std::optional<Registry> &initialisedRegistry();
void setLastError(int number, const std::string &text);

// The data set or tag behind a handle; TBASE_E_HANDLE when it is not open.
TBaseDataSetObject &dataSetOf(TBaseDataSet handle);
Tag &tagOf(TBaseTag handle);
TBaseDataSetObject &ownerOf(TBaseTag handle);
TBaseTag handleOf(Tag &tag, TBaseDataSetObject &owner);
TBaseDataSet adopt(TBaseDataSetObject *dataSet);
void release(TBaseDataSetObject *dataSet);

// Copies text with its zero byte; its length, or TBASE_E_BUFFER_TOO_SMALL.
int copyOut(const std::string &text, char *buffer, int size);
void requireArgument(bool present, const char *what);

// Runs body under the lock once the historian is initialised; a StoreError
// (or any other exception) becomes the thread's last error and failure.
template <class Result, class Body>
Result guarded(Result failure, Body &&body) {
    std::lock_guard<std::mutex> lock(apiLock());
    setLastError(TBASE_OK, "");
    try {
        if (!initialisedRegistry()) fail(TBASE_E_NOT_INITIALISED, "TBaseInitTBase has not been called");
        return body(*initialisedRegistry());
    } catch (const StoreError &error) {
        setLastError(error.number(), error.what());
    } catch (const std::bad_alloc &) {
        setLastError(TBASE_E_QUEUE_FULL, "Out of memory");
    } catch (const std::exception &error) {
        setLastError(TBASE_E_FILE, error.what());
    }
    return failure;
}

} // namespace tbase

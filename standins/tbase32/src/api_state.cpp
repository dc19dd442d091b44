#include "api_state.h"

#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace tbase {
namespace {

struct Handles {
    std::unordered_set<TBaseDataSetObject *> dataSets;
    std::unordered_map<const Tag *, TBaseDataSetObject *> tags;
};

Handles &handles() {
    static Handles open;
    return open;
}

struct LastError {
    int number = TBASE_OK;
    std::string text;
};

thread_local LastError lastError;

} // namespace

std::mutex &apiLock() {
    static std::mutex lock;
    return lock;
}

std::optional<Registry> &initialisedRegistry() {
    static std::optional<Registry> registry;
    return registry;
}

void setLastError(int number, const std::string &text) {
    lastError.number = number;
    lastError.text = text;
}

TBaseDataSetObject &dataSetOf(TBaseDataSet handle) {
    if (!handle || !handles().dataSets.count(handle)) fail(TBASE_E_HANDLE, "The data set handle is not open");
    return *handle;
}

Tag &tagOf(TBaseTag handle) {
    const auto *tag = reinterpret_cast<const Tag *>(handle);
    if (!handle || !handles().tags.count(tag)) fail(TBASE_E_HANDLE, "The tag handle is not open");
    return *reinterpret_cast<Tag *>(handle);
}

TBaseDataSetObject &ownerOf(TBaseTag handle) { return *handles().tags.at(&tagOf(handle)); }

TBaseTag handleOf(Tag &tag, TBaseDataSetObject &owner) {
    handles().tags[&tag] = &owner;
    return reinterpret_cast<TBaseTag>(&tag);
}

TBaseDataSet adopt(TBaseDataSetObject *dataSet) {
    handles().dataSets.insert(dataSet);
    return dataSet;
}

void release(TBaseDataSetObject *dataSet) {
    for (const auto &tag : dataSet->writer.tags()) handles().tags.erase(tag.get());
    handles().dataSets.erase(dataSet);
    delete dataSet;
}

int copyOut(const std::string &text, char *buffer, int size) {
    if (!buffer || size <= 0 || text.size() >= static_cast<std::size_t>(size))
        fail(TBASE_E_BUFFER_TOO_SMALL, "A buffer of " + std::to_string(text.size() + 1) + " bytes is needed");
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

void requireArgument(bool present, const char *what) {
    if (!present) fail(TBASE_E_ARGUMENT, std::string(what) + " is missing");
}

} // namespace tbase

extern "C" {

TBASE_API int TBaseGetLastErrorNumber(void) { return tbase::lastError.number; }

TBASE_API const char *TBaseGetLastErrorString(void) { return tbase::lastError.text.c_str(); }

} // extern "C"

#include "app/toolbox_library.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <dlfcn.h>

namespace korvel {
namespace {

template <typename Entry>
bool lookUp(void *handle, int number, Entry &entry) {
    void *symbol = ::dlsym(handle, ("qpext32_ordinal_" + std::to_string(number)).c_str());
    entry = reinterpret_cast<Entry>(symbol);
    return symbol != nullptr;
}

bool lookUpAll(void *handle, ToolboxEntryPoints &entry) {
    return lookUp(handle, 2, entry.interfaceVersion) && lookUp(handle, 3, entry.openCommandChannel) &&
           lookUp(handle, 4, entry.shutDown) && lookUp(handle, 5, entry.setQueue) &&
           lookUp(handle, 6, entry.instrumentDeleted) && lookUp(handle, 7, entry.changeQueue) &&
           lookUp(handle, 8, entry.setupFile) && lookUp(handle, 9, entry.channels) &&
           lookUp(handle, 10, entry.logging) && lookUp(handle, 11, entry.remoteMode) &&
           lookUp(handle, 12, entry.errorReport) && lookUp(handle, 13, entry.reply) &&
           lookUp(handle, 14, entry.filePath) && lookUp(handle, 15, entry.scans) &&
           lookUp(handle, 16, entry.bcnChanged);
}

// The loader's account of a name it found nowhere begins with that name and
// ends with the error of a missing file; a library that was found but lacks
// a library of its own names the missing one instead.
bool notFoundByName(const std::string &fileName, const char *error) {
    if (error == nullptr) return false;
    const std::string text(error);
    return text.rfind(fileName + ": ", 0) == 0 && text.find(std::strerror(ENOENT)) != std::string::npos;
}

} // namespace

ToolboxLibrary::Loaded ToolboxLibrary::load(const std::string &programDirectory, const std::string &fileName) {
    const std::string besideProgram = programDirectory + fileName;
    std::error_code error;
    const bool beside = std::filesystem::exists(besideProgram, error);
    void *handle = ::dlopen((beside ? besideProgram : fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const bool notFound = !beside && notFoundByName(fileName, ::dlerror());
        return {nullptr, notFound ? Failure::NotFound : Failure::CannotLoad};
    }
    ToolboxEntryPoints entry{};
    if (!lookUpAll(handle, entry)) {
        ::dlclose(handle);
        return {nullptr, Failure::CannotLoad};
    }
    return {std::unique_ptr<ToolboxLibrary>(new ToolboxLibrary(handle, entry)), Failure::None};
}

ToolboxLibrary::~ToolboxLibrary() { ::dlclose(handle_); }

} // namespace korvel

#include "app/toolbox_library.h"
#include "platform/file_exists.h"

#include <cerrno>
#include <cstring>

namespace korvel {
namespace {

template <typename Entry>
bool lookUp(const DynamicLibrary &library, int number, Entry &entry) {
    entry = library.function<Entry>(("qpext32_ordinal_" + std::to_string(number)).c_str());
    return entry != nullptr;
}

bool lookUpAll(const DynamicLibrary &library, ToolboxEntryPoints &entry) {
    return lookUp(library, 2, entry.interfaceVersion) && lookUp(library, 3, entry.openCommandChannel) &&
           lookUp(library, 4, entry.shutDown) && lookUp(library, 5, entry.setQueue) &&
           lookUp(library, 6, entry.instrumentDeleted) && lookUp(library, 7, entry.changeQueue) &&
           lookUp(library, 8, entry.setupFile) && lookUp(library, 9, entry.channels) &&
           lookUp(library, 10, entry.logging) && lookUp(library, 11, entry.remoteMode) &&
           lookUp(library, 12, entry.errorReport) && lookUp(library, 13, entry.reply) &&
           lookUp(library, 14, entry.filePath) && lookUp(library, 15, entry.scans) &&
           lookUp(library, 16, entry.bcnChanged);
}

// The loader's account of a name it found nowhere begins with that name and
// ends with the error of a missing file; a library that was found but lacks
// a library of its own names the missing one instead.
bool notFoundByName(const std::string &fileName, const std::string &error) {
    return error.rfind(fileName + ": ", 0) == 0 && error.find(std::strerror(ENOENT)) != std::string::npos;
}

} // namespace

ToolboxLibrary::Loaded ToolboxLibrary::load(const std::string &programDirectory, const std::string &fileName) {
    const std::string besideProgram = programDirectory + fileName;
    const bool beside = fileExists(besideProgram);
    DynamicLibrary library = DynamicLibrary::open(beside ? besideProgram : fileName);
    if (!library.loaded()) {
        const bool notFound = !beside && notFoundByName(fileName, library.error());
        return {nullptr, notFound ? Failure::NotFound : Failure::CannotLoad};
    }
    ToolboxEntryPoints entry{};
    if (!lookUpAll(library, entry)) return {nullptr, Failure::CannotLoad};
    return {std::unique_ptr<ToolboxLibrary>(new ToolboxLibrary(std::move(library), entry)), Failure::None};
}

} // namespace korvel

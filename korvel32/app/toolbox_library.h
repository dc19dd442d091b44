// The toolbox add-on's shared library with its entry points, each looked up
// by its number as the exported symbol qpext32_ordinal_N. It is taken from
// the program directory, else by name through the system's library search.
#pragma once

#include "platform/dynamic_library.h"

#include <qpext32.h>

#include <memory>
#include <string>
#include <utility>

namespace korvel {

inline constexpr const char *kToolboxLibraryName = "libqpext32.so";

struct ToolboxEntryPoints {
    Qpext32Ordinal2 interfaceVersion;
    Qpext32Ordinal3 openCommandChannel;
    Qpext32Ordinal4 shutDown;
    Qpext32Ordinal5 setQueue;
    Qpext32Ordinal6 instrumentDeleted;
    Qpext32Ordinal7 changeQueue;
    Qpext32Ordinal8 setupFile;
    Qpext32Ordinal9 channels;
    Qpext32Ordinal10 logging;
    Qpext32Ordinal11 remoteMode;
    Qpext32Ordinal12 errorReport;
    Qpext32Ordinal13 reply;
    Qpext32Ordinal14 filePath;
    Qpext32Ordinal15 scans;
    Qpext32Ordinal16 bcnChanged;
};

class ToolboxLibrary {
public:
    enum class Failure {
        None,
        NotFound,   // neither in the program directory nor by name
        CannotLoad, // found, but not loadable or lacking an entry point
    };

    struct Loaded;

    // fileName is the library's name; tests may name another.
    static Loaded load(const std::string &programDirectory, const std::string &fileName = kToolboxLibraryName);

    const ToolboxEntryPoints &call() const { return entry_; }

private:
    ToolboxLibrary(DynamicLibrary library, const ToolboxEntryPoints &entry)
            : library_(std::move(library)), entry_(entry) {}

    DynamicLibrary library_;
    ToolboxEntryPoints entry_;
};

struct ToolboxLibrary::Loaded {
    std::unique_ptr<ToolboxLibrary> library; // none on failure
    Failure failure = Failure::None;
};

} // namespace korvel

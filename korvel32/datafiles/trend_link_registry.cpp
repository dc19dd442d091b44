#include "datafiles/trend_link_registry.h"

#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_library.h"
#include "platform/file_descriptor.h"
#include "platform/string_table.h"
#include "setup/text_format.h"

#include <filesystem>
#include <system_error>

#include <fcntl.h>

namespace korvel {
namespace {

enum class DataSetRegistration {
    Registered,
    Refused,       // infolink.ini could not be written
    NoRoomInGroup, // the historian holds as many data sets as it can
};

DataSetRegistration registerDataSet(TrendLinkLibrary &library, const std::string &name, const std::string &directory) {
    std::string registered;
    const bool known = library.getDataSetPath(name, registered) > 0;
    if (known &&
        std::filesystem::path(registered).lexically_normal() == std::filesystem::path(directory).lexically_normal())
        return DataSetRegistration::Registered;
    if (known && library.deleteDataSet(name) != 0) return DataSetRegistration::Refused;
    if (library.addDataSet(name, directory) == 0) return DataSetRegistration::Registered;
    return library.getLastErrorNumber() == TBASE_E_TOO_MANY_DATA_SETS ? DataSetRegistration::NoRoomInGroup
                                                                      : DataSetRegistration::Refused;
}

} // namespace

bool dataSetDirectoryMade(TrendLinkInterface &trendLink, const std::string &directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (std::filesystem::is_directory(directory, error)) return true;
    trendLink.showMessage(filledIn(resourceString(message::kTrendLinkDirectoryFailed), "%s", {directory}));
    return false;
}

bool dataSetRegistered(TrendLinkInterface &trendLink, const std::string &name, const std::string &directory,
                       bool grouped, unsigned bcn) {
    switch (registerDataSet(trendLink.library(), name, directory)) {
        case DataSetRegistration::Registered: return true;
        case DataSetRegistration::NoRoomInGroup:
            if (!grouped) break;
            trendLink.showMessage(instrumentMessage(message::kTrendLinkTooManyDataSets, bcn));
            return false;
        case DataSetRegistration::Refused: break;
    }
    trendLink.showMessage(resourceString(message::kTrendLinkRegistryUnwritable));
    return false;
}

bool pointerFileWritten(TrendLinkInterface &trendLink, const std::string &dataFilePath, const std::string &name,
                        const std::string &directory) {
    std::string text = filledIn(resourceString(message::kTrendLinkPointerFileText), "%s", {name, directory});
    text.push_back('\0');
    FileDescriptor file(::open(dataFilePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.valid() && writeAll(file.get(), text) == text.size() && file.close()) return true;
    trendLink.showMessage(filledIn(resourceString(message::kTrendLinkPointerFileFailed), "%s", {dataFilePath}));
    return false;
}

} // namespace korvel

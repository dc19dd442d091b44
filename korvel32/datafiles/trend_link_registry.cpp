#include "datafiles/trend_link_registry.h"

#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_library.h"
#include "platform/string_table.h"
#include "setup/text_format.h"

#include <filesystem>
#include <system_error>

namespace korvel {

bool dataSetDirectoryMade(TrendLinkInterface &trendLink, const std::string &directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (std::filesystem::is_directory(directory, error)) return true;
    trendLink.showMessage(filledIn(resourceString(message::kTrendLinkDirectoryFailed), "%s", {directory}));
    return false;
}

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

} // namespace korvel

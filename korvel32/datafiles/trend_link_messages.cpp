#include "datafiles/trend_link_messages.h"

#include "platform/free_disk_space.h"
#include "platform/string_table.h"
#include "setup/text_format.h"

namespace korvel {

std::string driveMessage(int id, const std::string &path) {
    return filledIn(resourceString(id), "%c:", {mountPointOf(path)});
}

std::string driveMessage(int id, const std::string &path, std::uint64_t freeBytes) {
    return filledIn(driveMessage(id, path), "%lu", {std::to_string(freeBytes)});
}

} // namespace korvel

#include "setup/ccf_list_line.h"

#include "platform/ascii_digits.h"
#include "platform/string_table.h"
#include "setup/bcn_lookup.h"
#include "setup/text_format.h"

namespace korvel {

std::string ccfListLine(const CcfEntry &entry, bool withAddress) {
    const auto bcn = static_cast<unsigned>(entry.bcn);
    const std::string model = resourceString(codeValue(modelFromCcfCode(entry.model)));
    if (!withAddress) return formatted("%02u  %s", bcn, model.c_str());
    const auto &a = entry.address;
    return formatted("%02u  %s  @  %03u.%03u.%03u.%03u", bcn, model.c_str(), unsigned{a[0]}, unsigned{a[1]},
                     unsigned{a[2]}, unsigned{a[3]});
}

unsigned bcnOfListLine(const std::string &line) {
    const auto digit = [&line](std::size_t at) { return at < line.size() && isDigit(line[at]) ? line[at] - '0' : -1; };
    if (digit(0) < 0 || digit(1) < 0) return 0;
    return static_cast<unsigned>(digit(0) * 10 + digit(1));
}

} // namespace korvel

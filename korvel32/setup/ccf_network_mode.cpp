#include "setup/ccf_network_mode.h"

#include "link/instrument_link.h"
#include "platform/file_exists.h"

namespace korvel {

int readOrCreateNetworkMode(InstrumentLink &link, const std::string &programDirectory) {
    const std::int32_t mode = link.ccfGetNetMode();
    if (mode != KVX_E_CCF_MISSING) return mode;
    if (const std::int32_t created = link.ccfCreate(); created < 0) return created;
    const bool general = regularFileExists(programDirectory + kGeneralNetworkMarker);
    const std::int32_t newMode = general ? KVX_NET_GENERAL : KVX_NET_ISOLATED;
    const std::int32_t set = link.ccfSetNetMode(newMode);
    return set == KVX_OK ? newMode : set;
}

} // namespace korvel

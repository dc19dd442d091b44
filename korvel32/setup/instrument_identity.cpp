#include "setup/instrument_identity.h"

#include "platform/string_table.h"
#include "setup/text_format.h"

namespace korvel {

InstrumentIdentity identityOf(const InstrumentTable &table, int slot, const LoggerOptions &options) {
    const InstrumentSlot &entry = table.slot(slot);
    return {entry.bcn, entry.model, entry.role, table.masterSlot() != 0, options.wiredGroup};
}

std::string instrumentCaption(const std::string &caption, const InstrumentIdentity &identity) {
    if (!identity.setupHasMaster) return caption + formatted(" - %02u", identity.bcn);
    return caption + formatted(" - %02u (%s)", identity.bcn, resourceString(codeValue(identity.role)).c_str());
}

} // namespace korvel

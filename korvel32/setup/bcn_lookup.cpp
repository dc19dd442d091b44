#include "setup/bcn_lookup.h"

#include "link/instrument_link.h"

namespace korvel {

ModelCode modelFromCcfCode(std::int32_t ccfModel) {
    return ccfModel == KVX_MODEL_M100A ? ModelCode::M100A : ModelCode::M200A;
}

BcnLookup lookUpBcn(InstrumentLink &link, unsigned bcn) {
    CcfEntry entry;
    BcnLookup result;
    result.status = link.ccfGetBcn(static_cast<std::int32_t>(bcn), entry);
    if (result.present()) result.model = modelFromCcfCode(entry.model);
    return result;
}

BcnResolver bcnResolver(InstrumentLink &link) {
    return [&link](unsigned bcn) { return lookUpBcn(link, bcn); };
}

} // namespace korvel

#include "setup/bcn_lookup.h"

#include <kvlink32.h>

namespace korvel {

ModelCode modelFromCcfCode(std::int32_t ccfModel) {
    return ccfModel == KVX_MODEL_M100A ? ModelCode::M100A : ModelCode::M200A;
}

BcnLookup lookUpBcn(unsigned bcn) {
    std::uint8_t address[4] = {};
    std::int32_t model = 0;
    BcnLookup result;
    result.status = kvxCCFgetBCN(static_cast<std::int32_t>(bcn), address, &model);
    if (result.present()) result.model = modelFromCcfCode(model);
    return result;
}

} // namespace korvel

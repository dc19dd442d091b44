// The model of a BCN, as the communications configuration names it.
#pragma once

#include "setup/setup_codes.h"

#include <cstdint>
#include <functional>

namespace korvel {

class InstrumentLink;

struct BcnLookup {
    std::int32_t status = 0; // kvxCCFgetBCN: 1 present, 0 absent, negative on failure
    ModelCode model = ModelCode::M200A;

    bool present() const { return status >= 1; }
};

// ccf.cfg model code 1 is the M100A; anything else an M200A.
ModelCode modelFromCcfCode(std::int32_t ccfModel);

// Asks the communications configuration (kvxCCFgetBCN).
BcnLookup lookUpBcn(InstrumentLink &link, unsigned bcn);

using BcnResolver = std::function<BcnLookup(unsigned bcn)>;

// The look-up through the link, as the setup loader takes it.
BcnResolver bcnResolver(InstrumentLink &link);

} // namespace korvel

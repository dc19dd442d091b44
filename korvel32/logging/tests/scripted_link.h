// The library as the engine reaches it, with the faults a test scripts that
// the simulator cannot make: the library's own refusals. A scripted call
// answers the next queued code without reaching the library; every other call
// goes through.
#pragma once

#include "link/instrument_link.h"

#include <deque>

namespace korvel {

class ScriptedLink : public InstrumentLink {
public:
    std::deque<std::int32_t> scansGetCodes;
    std::deque<std::int32_t> configSetCodes;

    std::int32_t scansGet(std::int32_t bcn, std::uint32_t maxCount, void *scanBuffer) override {
        if (scansGetCodes.empty()) return InstrumentLink::scansGet(bcn, maxCount, scanBuffer);
        return next(scansGetCodes);
    }
    std::int32_t configSet(std::int32_t bcn, std::int32_t type, const InstrumentConfig &config,
                           std::int32_t &detail) override {
        if (configSetCodes.empty()) return InstrumentLink::configSet(bcn, type, config, detail);
        return next(configSetCodes);
    }

private:
    static std::int32_t next(std::deque<std::int32_t> &codes) {
        const std::int32_t code = codes.front();
        codes.pop_front();
        return code;
    }
};

} // namespace korvel

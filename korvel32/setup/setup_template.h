// The defaults every new instrument starts from, and the OFF channel that
// replaces a channel whenever one is reset.
#pragma once

#include "setup/instrument_setup.h"

#include <string>

namespace korvel {

struct SetupTemplate {
    ChannelSetup offChannel;
    InstrumentSetup defaultSetup;

    // The start-up completion: every channel gets the channel label, and
    // channels 1 to 3 become VDC on the 3 V range with the VDC units label,
    // so a new instrument starts with three channels that measure something.
    void complete(const std::string &channelLabel, const std::string &vdcUnits);

    // The same completion with the texts of the string table.
    void completeFromStringTable();
};

} // namespace korvel

// The channel values ("C1" .. "C30") of a text setup file.
#pragma once

#include "setup/instrument_setup.h"

#include <string_view>

namespace korvel {

// The channel that a "C<number>" value describes for an instrument of this
// model. Lower-numbered channels of setup must already be read, since
// computed channels may refer only to them. An empty, unknown or unusable
// value gives offChannel.
ChannelSetup readTextChannel(std::string_view value, int number, const InstrumentSetup &setup, ModelCode model,
                             const ChannelSetup &offChannel);

} // namespace korvel

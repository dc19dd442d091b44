#include "setup/plot_settings.h"

#include "setup/channel_identifier.h"
#include "setup/instrument_table.h"

namespace korvel {

void dropChannelsOfMissingInstruments(PlotSettings &plot, const InstrumentTable &instruments) {
    plot.channelCount = 0;
    for (std::uint16_t &identifier : plot.channels) {
        if (identifier != 0 && instruments.find(bcnOf(identifier)) == 0) identifier = 0;
        if (identifier != 0) ++plot.channelCount;
    }
}

} // namespace korvel

#include "setup/model_repairs.h"

namespace korvel {

void repairVdcRange(ChannelSetup &channel, ModelCode model) {
    if (channel.function != ChannelFunction::Vdc) return;
    if (model == ModelCode::M100A && channel.range == RangeCode::Vdc50V) channel.range = RangeCode::Vdc150_300V;
    if (model == ModelCode::M200A && channel.range == RangeCode::Vdc150_300V) channel.range = RangeCode::Vdc50V;
}

void repairForModel(ChannelSetup &channel, ModelCode model) {
    repairVdcRange(channel, model);
    if (model != ModelCode::M200A) return;
    switch (channel.function) {
        case ChannelFunction::Vac:
            if (channel.range == RangeCode::Vac150_300V) channel.range = RangeCode::Vac30V;
            break;
        case ChannelFunction::Ohms2W:
            // The M200A has no 2-wire range below 30 kOhms.
            if (channel.range != RangeCode::Auto && channel.range < RangeCode::Ohms30k)
                channel.range = RangeCode::Ohms30k;
            break;
        case ChannelFunction::Rtd2W:
            channel.function = ChannelFunction::Vdc;
            channel.range = RangeCode::Vdc3V;
            break;
        default: break;
    }
}

} // namespace korvel

#include "setup/mxb_scaling.h"

namespace korvel {

void setMxbScaling(ChannelSetup &channel, double m, double b) {
    const bool identity = m > 0.99999 && m < 1.00001 && b > -1e-8 && b < 1e-8;
    channel.mxbEnabled = !identity;
    channel.m = identity ? 1.0 : m;
    channel.b = identity ? 0.0 : b;
}

} // namespace korvel

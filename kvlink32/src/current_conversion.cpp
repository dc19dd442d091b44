#include "current_conversion.h"

#include "config_validation.h"

#include <cmath>

namespace kvlink {
namespace {

constexpr uint32_t kAnalogChannels = 20;
constexpr double kSmallestNormal = 1.17549435e-38;
constexpr double kLargestFinite = 3.40282347e38;

// 4-20 mA: 4 mA reads 0 and 20 mA reads 100 before the user's scaling, so
// reading = (V / R - 0.004) * 6250 = (6250 / R) * V - 25.
constexpr double kSpanPerAmp = 6250.0;
constexpr double kSpanOffset = 25.0;
constexpr double kFullScaleAmps = 0.02;

// The smallest VDC range that holds the shunt voltage at 20 mA.
int32_t vdcRangeFor(double volts) {
    if (volts <= 0.3) return KVX_RANGE_VDC_300MV;
    if (volts <= 0.75) return KVX_RANGE_VDC_750MV;
    if (volts <= 3.0) return KVX_RANGE_VDC_3V;
    return KVX_RANGE_VDC_30V;
}

} // namespace

int32_t convertCurrentChannels(InstrumentConfig &config) {
    for (uint32_t index = 0; index < kAnalogChannels; ++index) {
        ChannelConfig &channel = config.channels[index];
        if (channel.function != FunctionCurrent) continue;
        const double shunt = channel.r0;
        const int32_t currentRange = channel.range;
        if (currentRange == KVX_RANGE_CURRENT_0_100MA) {
            if (channel.m != 0.0f) {
                const double m = channel.m / shunt;
                if (std::fabs(m) < kSmallestNormal) return detailCode(DetailCurrentUnderflow, index);
                channel.m = static_cast<float>(m);
            }
            channel.range = KVX_RANGE_VDC_AUTO;
        } else if (currentRange == KVX_RANGE_CURRENT_4_20MA) {
            const double m = (kSpanPerAmp / shunt) * channel.m;
            const double b = channel.b - kSpanOffset * channel.m;
            if (std::fabs(m) > kLargestFinite || std::fabs(b) > kLargestFinite) {
                return detailCode(DetailCurrentOverflow, index);
            }
            channel.range = vdcRangeFor(shunt * kFullScaleAmps);
            channel.m = static_cast<float>(m);
            channel.b = static_cast<float>(b);
        } else {
            continue; // a validated block holds only the two current ranges
        }
        channel.aux = currentRange;
    }
    return DetailNone;
}

void restoreCurrentChannels(InstrumentConfig &config) {
    for (uint32_t index = 0; index < kAnalogChannels; ++index) {
        ChannelConfig &channel = config.channels[index];
        if (channel.function != FunctionCurrent) continue;
        channel.range = channel.aux;
        const double shunt = channel.r0;
        if (channel.range == KVX_RANGE_CURRENT_0_100MA) {
            channel.m = static_cast<float>(channel.m * shunt);
        } else if (channel.range == KVX_RANGE_CURRENT_4_20MA) {
            const double m = channel.m / (kSpanPerAmp / shunt);
            channel.m = static_cast<float>(m);
            channel.b = static_cast<float>(channel.b + kSpanOffset * m);
        }
    }
}

} // namespace kvlink

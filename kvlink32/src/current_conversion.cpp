#include "current_conversion.h"

#include "config_validation.h"

#include <cmath>

namespace kvlink {
namespace {

constexpr uint32_t kAnalogChannels = 20;
constexpr double kSmallestNormal = 1.17549435e-38;
constexpr double kLargestFinite = 3.40282347e38;
constexpr int32_t kRangeVdcAuto = 9504;

// 4-20 mA: 4 mA reads 0 and 20 mA reads 100 before the user's scaling, so
// reading = (V / R - 0.004) * 6250 = (6250 / R) * V - 25.
constexpr double kSpanPerAmp = 6250.0;
constexpr double kSpanOffset = 25.0;
constexpr double kFullScaleAmps = 0.02;

// The smallest VDC range that holds the shunt voltage at 20 mA.
int32_t vdcRangeFor(double volts) {
    if (volts <= 0.3) return 8450;
    if (volts <= 0.75) return 8708;
    if (volts <= 3.0) return 8968;
    return 9232;
}

} // namespace

int32_t convertCurrentChannels(InstrumentConfig &config) {
    for (uint32_t index = 0; index < kAnalogChannels; ++index) {
        ChannelConfig &channel = config.channels[index];
        if (channel.function != FunctionCurrent) continue;
        const double shunt = channel.r0;
        const int32_t currentRange = channel.range;
        if (currentRange == kRangeCurrent100mA) {
            if (channel.m != 0.0f) {
                const double m = channel.m / shunt;
                if (std::fabs(m) < kSmallestNormal) return detailCode(DetailCurrentUnderflow, index);
                channel.m = static_cast<float>(m);
            }
            channel.range = kRangeVdcAuto;
        } else if (currentRange == kRangeCurrent4to20mA) {
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
        if (channel.range == kRangeCurrent100mA) {
            channel.m = static_cast<float>(channel.m * shunt);
        } else if (channel.range == kRangeCurrent4to20mA) {
            const double m = channel.m / (kSpanPerAmp / shunt);
            channel.m = static_cast<float>(m);
            channel.b = static_cast<float>(channel.b + kSpanOffset * m);
        }
    }
}

} // namespace kvlink

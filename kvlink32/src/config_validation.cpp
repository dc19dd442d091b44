#include "config_validation.h"

#include "equation_compiler.h"

#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>

namespace kvlink {
namespace {

constexpr uint32_t kOptionBitsInUse = 0xFFF;
constexpr uint32_t kIntervalTrigger = 1u << 6;
constexpr uint32_t kAlarmTrigger = 1u << 7;
constexpr uint32_t kExternalTrigger = 1u << 8;

constexpr uint32_t kTwoWire = KVX_WIRING_2W;
constexpr uint32_t kFourWire = KVX_WIRING_4W;
constexpr uint32_t kLastAnalog = 20;
constexpr uint32_t kFourWirePartners = 10; // channel n pairs with n + 10

// Interval numbers and time field numbers of a DetailTime code.
enum : uint32_t { Interval1 = 1, Interval2 = 2, AlarmCheckInterval = 3 };
enum : uint32_t { FieldHours = 1, FieldMinutes, FieldSeconds, FieldMilliseconds, FieldTooShort, FieldPast24Hours };

uint32_t bit(uint32_t channel) { return 1u << (channel - 1); }

bool oneOf(int32_t value, std::initializer_list<int32_t> allowed) {
    for (int32_t a : allowed) {
        if (a == value) return true;
    }
    return false;
}

bool within(float value, float low, float high) { return std::isfinite(value) && value >= low && value <= high; }

// Negative fields count as out of range, like any field above its limit.
using TimeFields = std::array<uint32_t, 4>;

TimeFields timeFields(const InstrumentConfig &config, int32_t (InstrumentConfig::*interval)[4]) {
    TimeFields time{};
    for (size_t i = 0; i < time.size(); ++i) time[i] = static_cast<uint32_t>((config.*interval)[i]);
    return time;
}

// minimumMs applies to a time of 0 h 0 min 0 s; 0 means no minimum.
int32_t checkTime(const TimeFields &time, uint32_t interval, uint32_t minimumMs) {
    const auto [hours, minutes, seconds, milliseconds] = time;
    uint32_t field = 0;
    if (hours > 24) {
        field = FieldHours;
    } else if (minutes > 59) {
        field = FieldMinutes;
    } else if (seconds > 59) {
        field = FieldSeconds;
    } else if (milliseconds > 999) {
        field = FieldMilliseconds;
    } else if (hours == 24 && (minutes | seconds | milliseconds) != 0) {
        field = FieldPast24Hours;
    } else if (hours == 0 && minutes == 0 && seconds == 0 && milliseconds < minimumMs) {
        field = FieldTooShort;
    }
    return field == 0 ? DetailNone : detailCode(DetailTime) | static_cast<int32_t>((field | interval) << 16);
}

int32_t checkOptions(uint32_t options) {
    if ((options & ~kOptionBitsInUse) != 0) return detailCode(DetailOptionBits);
    if ((options & 3u) == 3u) return detailCode(DetailReadingRate);
    if (((options >> 9) & 3u) == 3u) return detailCode(DetailMemoryMode);
    return DetailNone;
}

int32_t checkIntervals(const InstrumentConfig &config, int32_t model) {
    const uint32_t options = config.options;
    int32_t detail = DetailNone;
    if ((options & kIntervalTrigger) != 0) {
        detail = checkTime(timeFields(config, &InstrumentConfig::interval1), Interval1, 0);
    }
    if (detail == DetailNone && (options & (kAlarmTrigger | kExternalTrigger)) != 0) {
        detail = checkTime(timeFields(config, &InstrumentConfig::interval2), Interval2, 0);
    }
    if (detail == DetailNone && (options & kAlarmTrigger) != 0) {
        const uint32_t minimumMs = model == KVX_MODEL_M200A ? 50 : 500;
        detail = checkTime(timeFields(config, &InstrumentConfig::alarmCheckInterval), AlarmCheckInterval, minimumMs);
    }
    return detail;
}

// The rules shared by every channel that is on.
int32_t checkAlarmsAndScaling(const ChannelConfig &channel, uint32_t number) {
    const uint32_t alarms = static_cast<uint32_t>(channel.alarms);
    const uint32_t type1 = (alarms >> 1) & 3u;
    const uint32_t type2 = (alarms >> 3) & 3u;
    if (alarms > 31 || type1 == 3 || type2 == 3) return detailCode(DetailAlarmBits, number);
    if ((type1 != 0 && !std::isfinite(channel.limit1)) || (type2 != 0 && !std::isfinite(channel.limit2))) {
        return detailCode(DetailAlarmLimit, number);
    }
    if (!std::isfinite(channel.m) || !std::isfinite(channel.b)) return detailCode(DetailScaling, number);
    return DetailNone;
}

// Ohms and RTD: wiring first, then the model's wiring limits, then ranges.
int32_t checkResistive(const ChannelConfig &channel, uint32_t number, int32_t model, bool &fourWire) {
    const uint32_t wiring = static_cast<uint32_t>(channel.aux);
    if (wiring != kTwoWire && wiring != kFourWire) return detailCode(DetailWiring, number);
    fourWire = wiring == kFourWire;
    if (fourWire && number > kFourWirePartners) return detailCode(DetailFourWireHigh, number);
    const bool rtd = channel.function == FunctionRtd;
    if (model == KVX_MODEL_M200A && !fourWire &&
        (rtd || oneOf(channel.range, {KVX_RANGE_OHMS_300, KVX_RANGE_OHMS_3K}))) {
        return detailCode(DetailTwoWireRefused, number);
    }
    if (!rtd) {
        const bool known = oneOf(channel.range, {KVX_RANGE_OHMS_300, KVX_RANGE_OHMS_3K, KVX_RANGE_OHMS_30K,
                                                 KVX_RANGE_OHMS_300K, KVX_RANGE_OHMS_3M, KVX_RANGE_OHMS_AUTO});
        return known ? DetailNone : detailCode(DetailRange, number);
    }
    if (!oneOf(channel.range, {KVX_RANGE_RTD_FIXED_385, KVX_RANGE_RTD_CUSTOM_385}))
        return detailCode(DetailRange, number);
    if (!within(channel.r0, 10.0f, 1010.0f)) return detailCode(DetailRtdR0, number);
    // Float bounds, so that the alpha typed as 0.00374 or 0.00393 is accepted.
    if (channel.range == KVX_RANGE_RTD_CUSTOM_385 && !within(channel.alphaFloat, 0.00374f, 0.00393f)) {
        return detailCode(DetailRtdAlpha, number);
    }
    return DetailNone;
}

bool allowedVoltageRange(const ChannelConfig &channel, int32_t model) {
    if (channel.function == FunctionVdc) {
        return oneOf(channel.range, {KVX_RANGE_VDC_90MV, KVX_RANGE_VDC_300MV, KVX_RANGE_VDC_750MV, KVX_RANGE_VDC_3V,
                                     KVX_RANGE_VDC_30V, KVX_RANGE_VDC_AUTO}) ||
               (model == KVX_MODEL_M200A && channel.range == KVX_RANGE_VDC_50V) ||
               (model == KVX_MODEL_M100A && channel.range == KVX_RANGE_VDC_300V);
    }
    return oneOf(channel.range, {KVX_RANGE_VAC_300MV, KVX_RANGE_VAC_3V, KVX_RANGE_VAC_30V, KVX_RANGE_VAC_AUTO}) ||
           (model == KVX_MODEL_M100A && channel.range == KVX_RANGE_VAC_300V);
}

int32_t checkAnalog(const ChannelConfig &channel, uint32_t number, int32_t model, bool &fourWire) {
    switch (channel.function) {
        case FunctionOhms:
        case FunctionRtd: return checkResistive(channel, number, model, fourWire);
        case FunctionVdc:
        case FunctionVac: return allowedVoltageRange(channel, model) ? DetailNone : detailCode(DetailRange, number);
        case FunctionFreq: return DetailNone;
        case FunctionThermocouple:
            if (!oneOf(channel.range, {KVX_RANGE_TC_J, KVX_RANGE_TC_K, KVX_RANGE_TC_E, KVX_RANGE_TC_T, KVX_RANGE_TC_R,
                                       KVX_RANGE_TC_S, KVX_RANGE_TC_B, KVX_RANGE_TC_C, KVX_RANGE_TC_N})) {
                return detailCode(DetailRange, number);
            }
            return channel.aux == 0 || channel.aux == 1 ? DetailNone : detailCode(DetailOpenThermocouple, number);
        case FunctionCurrent:
            if (!oneOf(channel.range, {KVX_RANGE_CURRENT_0_100MA, KVX_RANGE_CURRENT_4_20MA}))
                return detailCode(DetailRange, number);
            return within(channel.r0, 10.0f, 250.0f) ? DetailNone : detailCode(DetailShunt, number);
        default: return detailCode(DetailFunction, number);
    }
}

bool isSourceChannel(int32_t channel) { return channel >= 1 && channel <= 29; }

// The channels a computed channel reads, or the detail of why it has none.
int32_t computedSources(const InstrumentConfig &config, uint32_t number, uint32_t &sources) {
    const ChannelConfig &channel = config.channels[number - 1];
    const uint32_t averaged = static_cast<uint32_t>(channel.aux);
    switch (channel.function) {
        case FunctionAverage:
            sources = averaged;
            return sources == 0 ? detailCode(DetailSourceOrder, number) : DetailNone;
        case FunctionDifference:
            if (!isSourceChannel(channel.alpha) || !isSourceChannel(channel.aux)) {
                return detailCode(DetailComputedSource, number);
            }
            sources = bit(static_cast<uint32_t>(channel.alpha)) | bit(static_cast<uint32_t>(channel.aux));
            return DetailNone;
        case FunctionAverageDifference:
            if (!isSourceChannel(channel.alpha)) return detailCode(DetailComputedSource, number);
            if (averaged == 0) return detailCode(DetailSourceOrder, number);
            sources = averaged | bit(static_cast<uint32_t>(channel.alpha));
            return DetailNone;
        case FunctionEquation: {
            const ConfigDetailKind kind = walkEquation(config.equations, averaged, sources);
            if (kind != DetailNone) return detailCode(kind, number);
            return sources == 0 ? detailCode(DetailEquationNoChannel, number) : DetailNone;
        }
        default: return detailCode(DetailFunction, number);
    }
}

// A computed channel reads only channels below it that are defined. Since
// every computed source was itself checked the same way, the channels it
// reads through other computed channels are defined as well.
int32_t checkComputed(const InstrumentConfig &config, uint32_t number, uint32_t defined) {
    uint32_t sources = 0;
    if (const int32_t detail = computedSources(config, number, sources); detail != DetailNone) return detail;
    if ((sources >> (number - 1)) != 0) return detailCode(DetailSourceOrder, number);
    if ((sources & ~defined) != 0) return detailCode(DetailSourceOff, number);
    return DetailNone;
}

} // namespace

ConfigDetailKind walkEquation(const uint8_t (&area)[KVX_EQUATION_AREA], uint32_t offset, uint32_t &sources) {
    if (offset >= KVX_EQUATION_AREA) return DetailEquationOffset;
    sources = 0;
    size_t at = offset;
    for (;;) {
        if (at >= KVX_EQUATION_AREA) return DetailEquationOverrun;
        const uint8_t code = area[at];
        if (code == TokenEnd) return DetailNone;
        if (code > TokenLast) return DetailEquationCode;
        const size_t size = equationTokenSize(code);
        if (at + size > KVX_EQUATION_AREA) return DetailEquationOverrun;
        if (code == TokenChannel) {
            uint16_t channel;
            std::memcpy(&channel, area + at + 1, sizeof channel);
            if (channel < 1 || channel > KVX_MAX_CHANNELS) return DetailEquationChannel;
            sources |= bit(channel);
        }
        at += size;
    }
}

int32_t validateConfig(const InstrumentConfig &config, int32_t model) {
    if (const int32_t detail = checkOptions(config.options); detail != DetailNone) return detail;
    if (const int32_t detail = checkIntervals(config, model); detail != DetailNone) return detail;

    uint32_t defined = 0;
    uint32_t fourWire = 0;
    for (uint32_t number = 1; number <= kLastAnalog; ++number) {
        const ChannelConfig &channel = config.channels[number - 1];
        if (channel.function == FunctionOff) continue;
        if (const int32_t detail = checkAlarmsAndScaling(channel, number); detail != DetailNone) return detail;
        bool isFourWire = false;
        if (const int32_t detail = checkAnalog(channel, number, model, isFourWire); detail != DetailNone) {
            return detail;
        }
        defined |= bit(number);
        if (isFourWire) fourWire |= bit(number);
    }
    for (uint32_t number = 1; number <= kFourWirePartners; ++number) {
        const uint32_t partner = number + kFourWirePartners;
        if ((fourWire & bit(number)) != 0 && (defined & bit(partner)) != 0) {
            return detailCode(DetailFourWirePair, partner);
        }
    }
    for (uint32_t number = kLastAnalog + 1; number <= KVX_MAX_CHANNELS; ++number) {
        const ChannelConfig &channel = config.channels[number - 1];
        if (channel.function == FunctionOff) continue;
        if (const int32_t detail = checkAlarmsAndScaling(channel, number); detail != DetailNone) return detail;
        if (const int32_t detail = checkComputed(config, number, defined); detail != DetailNone) return detail;
        defined |= bit(number);
    }
    return DetailNone;
}

} // namespace kvlink

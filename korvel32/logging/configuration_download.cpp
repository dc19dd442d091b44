#include "logging/configuration_download.h"

#include "logging/channel_config_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace korvel {
namespace {

namespace option {
constexpr std::uint32_t kFahrenheit = 1u << 2;
constexpr std::uint32_t kTriggerOut = 1u << 3;
constexpr std::uint32_t kDriftCorrection = 1u << 4;
constexpr std::uint32_t kTotalizerDebounce = 1u << 5;
constexpr std::uint32_t kIntervalTrigger = 1u << 6;
constexpr std::uint32_t kAlarmTrigger = 1u << 7;
constexpr std::uint32_t kExternalTrigger = 1u << 8;
constexpr std::uint32_t kStopWhenFull = 1u << 10;
constexpr std::uint32_t kAutoScanEnable = 1u << 11;
} // namespace option

// The interval 2 of a Slave: its Master's trigger paces it, so its own
// trigger interval is only a long fallback.
constexpr double kSlaveInterval2 = 100.0;

std::uint32_t readingRateBits(ReadingRate rate) {
    switch (rate) {
        case ReadingRate::Medium: return 1;
        case ReadingRate::Fast: return 2;
        case ReadingRate::Slow: break;
    }
    return 0;
}

std::uint32_t triggerBits(TriggerType trigger) {
    using namespace option;
    switch (trigger) {
        case TriggerType::Interval: return kIntervalTrigger;
        case TriggerType::External: return kExternalTrigger;
        case TriggerType::Alarm: return kAlarmTrigger;
        case TriggerType::IntervalExternal: return kIntervalTrigger | kExternalTrigger;
        case TriggerType::IntervalAlarm: return kIntervalTrigger | kAlarmTrigger;
        case TriggerType::ExternalAlarm: return kAlarmTrigger | kExternalTrigger;
        case TriggerType::IntervalExternalAlarm: return kIntervalTrigger | kAlarmTrigger | kExternalTrigger;
    }
    return 0;
}

// Triggers that scan on interval 2, so a Slave must follow that one.
bool scansOnInterval2(TriggerType trigger) {
    return trigger == TriggerType::External || trigger == TriggerType::Alarm || trigger == TriggerType::ExternalAlarm;
}

std::uint32_t optionsOf(const InstrumentSlot &slot, const InstrumentSetup &scanning, const DownloadSettings &settings) {
    using namespace option;
    const InstrumentSetup &own = *slot.setup;
    std::uint32_t options = readingRateBits(scanning.readingRate);
    if (own.temperatureUnits == TemperatureUnits::Fahrenheit) options |= kFahrenheit;
    if (own.totalizerDebounce) options |= kTotalizerDebounce;
    if (scanning.driftCorrection) options |= kDriftCorrection;
    if (!settings.memoryWrapAround) options |= kStopWhenFull;
    if (!settings.autoScanDisable) options |= kAutoScanEnable;

    if (slot.role == GroupRole::Slave) {
        if (settings.wiredGroup) return options | kTriggerOut | kExternalTrigger;
        return options | kIntervalTrigger | (scanning.triggerOut ? kTriggerOut : 0);
    }
    const bool drivesWiredSlaves = slot.role == GroupRole::Master && settings.wiredGroup;
    if (own.triggerOut || drivesWiredSlaves) options |= kTriggerOut;
    return options | triggerBits(own.triggerType);
}

void setIntervals(InstrumentConfig &config, const InstrumentSlot &slot, const InstrumentSetup &scanning,
                  const DownloadSettings &settings) {
    std::array<std::int32_t, 4> first = splitInterval(scanning.interval1);
    std::array<std::int32_t, 4> second = splitInterval(scanning.interval2);
    if (slot.role == GroupRole::Slave) {
        first = splitInterval(scansOnInterval2(scanning.triggerType) ? scanning.interval2 : scanning.interval1);
        second = splitInterval(kSlaveInterval2);
    }
    const double alarmCheck =
        slot.model == ModelCode::M100A ? settings.alarmCheckIntervalM100A : settings.alarmCheckIntervalM200A;
    std::copy(first.begin(), first.end(), config.interval1);
    std::copy(second.begin(), second.end(), config.interval2);
    const std::array<std::int32_t, 4> check = splitInterval(alarmCheck);
    std::copy(check.begin(), check.end(), config.alarmCheckInterval);
}

// Compiles the Equation channels one behind the other into the byte-code area.
bool compileEquations(InstrumentLink &link, InstrumentConfig &config, const InstrumentSetup &setup) {
    std::size_t offset = 0;
    for (int channel = kFirstComputedChannel; channel <= kChannelCount; ++channel) {
        if (setup.channel(channel).function != ChannelFunction::Equation) continue;
        // The compiler wants a whole area of its own to write into.
        std::array<std::uint8_t, KVX_EQUATION_AREA> code{};
        std::int32_t mask = 0, length = 0, errorPosition = 0, errorCode = 0;
        if (link.parseExpr(setup.equation(channel).c_str(), code.data(), mask, length, errorPosition, errorCode) != 1)
            return false;
        const auto size = static_cast<std::size_t>(length);
        if (length <= 0 || offset + size > KVX_EQUATION_AREA) return false;
        std::memcpy(config.equations + offset, code.data(), size);
        config.channels[channel - 1].aux = static_cast<std::int32_t>(offset);
        offset += size;
    }
    return true;
}

} // namespace

std::array<std::int32_t, 4> splitInterval(double seconds) {
    constexpr double kHalfMillisecond = 0.0005;
    const auto total = static_cast<std::int32_t>(seconds + kHalfMillisecond);
    const std::int32_t hours = total / 3600;
    double remainder = seconds - 3600.0 * hours;
    const std::int32_t minutes = std::min(static_cast<std::int32_t>((remainder + kHalfMillisecond) / 60.0), 59);
    remainder -= 60.0 * minutes;
    const std::int32_t wholeSeconds = std::min(static_cast<std::int32_t>(remainder + kHalfMillisecond), 59);
    // What is left may be a hair below zero when the value rounded up.
    const double fraction = remainder - wholeSeconds;
    const auto milliseconds = static_cast<std::int32_t>(std::max(0.0, (fraction + kHalfMillisecond) * 1000.0));
    return {hours, minutes, wholeSeconds, std::min(milliseconds, 999)};
}

DownloadSettings downloadSettingsOf(const LoggerOptions &options, bool autoScanDisable) {
    return {options.wiredGroup, options.memoryWrapAround, autoScanDisable, options.alarmCheckIntervalM100A,
            options.alarmCheckIntervalM200A};
}

const InstrumentSetup *masterSetupOf(const InstrumentTable &table) {
    const int master = table.masterSlot();
    if (master == 0 || !table.slot(master).inUse) return nullptr;
    return table.slot(master).setup.get();
}

std::optional<InstrumentConfig> instrumentConfigOf(InstrumentLink &link, const InstrumentSlot &slot,
                                                   const InstrumentSetup *masterSetup,
                                                   const DownloadSettings &settings) {
    const InstrumentSetup &own = *slot.setup;
    const bool followsMaster = slot.role == GroupRole::Slave && masterSetup != nullptr;
    const InstrumentSetup &scanning = followsMaster ? *masterSetup : own;

    InstrumentConfig config{};
    config.options = optionsOf(slot, scanning, settings);
    setIntervals(config, slot, scanning, settings);
    for (int channel = 1; channel <= kChannelCount; ++channel)
        config.channels[channel - 1] = channelConfigOf(own.channel(channel));
    if (!compileEquations(link, config, own)) return std::nullopt;
    return config;
}

bool downloadConfiguration(InstrumentLink &link, unsigned bcn, int level, const InstrumentConfig &config) {
    std::int32_t detail = 0;
    return link.configSet(static_cast<std::int32_t>(bcn), level, config, detail) == KVX_OK;
}

bool sendConfiguration(InstrumentLink &link, const InstrumentTable &table, int slot, int level,
                       const DownloadSettings &settings) {
    const InstrumentSlot &entry = table.slot(slot);
    const std::optional<InstrumentConfig> config = instrumentConfigOf(link, entry, masterSetupOf(table), settings);
    return config && downloadConfiguration(link, entry.bcn, level, *config);
}

} // namespace korvel

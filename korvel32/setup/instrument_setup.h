// One instrument's configuration: how it scans, what each of its 30 channels
// measures or computes, and where its readings go. Default member values are
// those of the setup template before its start-up completion, so a
// default-constructed ChannelSetup is the OFF channel.
#pragma once

#include "setup/setup_codes.h"

#include <array>
#include <cstdint>
#include <string>

namespace korvel {

constexpr int kAnalogChannels = 20;
constexpr int kFirstComputedChannel = 21;
constexpr int kChannelCount = 30;
constexpr int kComputedChannels = kChannelCount - kAnalogChannels;
constexpr int kFourWireChannels = 10; // 4-wire channel n takes its second leads from n + 10

// Longest texts the fixed fields hold (the field is one byte longer).
constexpr std::size_t kDescriptionLength = 79;
constexpr std::size_t kDataFilePathLength = 259;
constexpr std::size_t kDataFileCommentLength = 69;
constexpr std::size_t kBatchNameLength = 25;
constexpr std::size_t kChannelLabelLength = 15;
constexpr std::size_t kUnitsLabelLength = 10;
constexpr std::size_t kEquationLength = 100;

// The largest magnitude of an Mx+B factor or offset, an alarm value or a deadband.
constexpr double kValueLimit = 9.9999e9;

// The units labels of temperature channels.
inline constexpr char kCelsiusUnitsLabel[] = "\u00B0C";
inline constexpr char kFahrenheitUnitsLabel[] = "\u00B0F";

// Mask bit n stands for channel n; bit 0 is always clear.
constexpr std::uint32_t channelBit(int channel) { return std::uint32_t{1} << channel; }

struct AlarmSetup {
    AlarmSense sense = AlarmSense::Off;
    double value = 0.0;
    AlarmOutput output = AlarmOutput::None;

    bool operator==(const AlarmSetup &) const = default;
};

struct ChannelSetup {
    ChannelFunction function = ChannelFunction::Off;
    RangeCode range = RangeCode::Off;
    std::uint16_t channelA = 1;       // Chan A - Chan B, Chan A - Average
    std::uint16_t channelB = 1;       // Chan A - Chan B
    std::uint32_t averageSet = 0;     // Average, Chan A - Average
    std::uint16_t equationLength = 0; // text bytes including the zero
    std::uint16_t compiledSize = 0;   // the size kvxParseExpr gave
    std::uint32_t equationSet = 0;    // channels the equation refers to
    double r0 = 0.0;
    double alpha = 0.0; // Custom-385 only
    bool openTcDetect = true;
    double shunt = 0.0;
    std::string label;
    std::string unitsLabel;
    bool mxbEnabled = false;
    double m = 1.0;
    double b = 0.0;
    bool alarmTrigger = true;
    AlarmSetup alarm1;
    AlarmSetup alarm2;
    float deadband = 0.0f;

    bool operator==(const ChannelSetup &) const = default;
};

struct DataFileSetup {
    bool enabled = false;
    std::string path;
    std::string comment;
    FileMode mode = FileMode::Append;
    FileFormat format = FileFormat::Ascii;
    RolloverMode rolloverMode = RolloverMode::None;
    std::uint32_t rolloverValue = 0;       // k bytes, seconds or hour 0..23, by mode
    std::uint16_t lowDiskAction = 0;       // 0 perform rollover, other stop logging
    std::uint32_t lowDiskThreshold = 1000; // k bytes
    std::uint16_t batchPeriod = 0;         // minutes
    std::uint16_t batchStart = 0;          // minutes after midnight
    std::string batchName;
    std::uint8_t batchType = 0; // 0 session, 1 DIO low, 2 periodic, 3 periodic from a time of day
    std::uint8_t batchDioLine = 0;

    bool operator==(const DataFileSetup &) const = default;
};

struct InstrumentSetup {
    std::string description;
    TemperatureUnits temperatureUnits = TemperatureUnits::Celsius;
    bool totalizerDebounce = true;
    std::uint16_t monitorChannel = 0; // 0 none
    TriggerType triggerType = TriggerType::Interval;
    double interval1 = 1.0; // seconds, the primary scan interval
    double interval2 = 0.1; // seconds, used with the external and alarm triggers
    ReadingRate readingRate = ReadingRate::Slow;
    bool driftCorrection = true;
    bool triggerOut = false;
    bool stopAfterDuration = false;
    std::uint32_t duration = 3600;      // seconds
    std::uint32_t toolboxQueueSize = 0; // bytes, 0 no queue
    DataFileSetup dataFile;
    std::array<ChannelSetup, kChannelCount + 1> channels{}; // indexed by channel number; 0 unused
    std::array<std::string, kComputedChannels> equations{}; // texts of channels 21..30

    ChannelSetup &channel(int number) { return channels.at(static_cast<std::size_t>(number)); }
    const ChannelSetup &channel(int number) const { return channels.at(static_cast<std::size_t>(number)); }

    // The equation buffer of a computed channel (21..30).
    std::string &equation(int number) { return equations.at(static_cast<std::size_t>(number - kFirstComputedChannel)); }
    const std::string &equation(int number) const {
        return equations.at(static_cast<std::size_t>(number - kFirstComputedChannel));
    }

    bool operator==(const InstrumentSetup &) const = default;
};

inline bool isComputedChannel(int number) { return number >= kFirstComputedChannel && number <= kChannelCount; }

} // namespace korvel

#include "setup/setup_records.h"

#include "setup/little_endian.h"

#include <cstdlib>

namespace korvel {

using namespace le;

namespace {

template <typename Code>
Code toCode(std::uint16_t value) {
    return static_cast<Code>(value);
}

constexpr std::array<std::uint8_t, 4> kRecordFormMark{0x00, 0x65, 0x00, 0x6E};
constexpr char kVersion[] = "LC3.0";
constexpr std::size_t kVersionOffset = 4;
constexpr std::size_t kVersionTextOffset = 6;
constexpr std::size_t kVersionTextSize = 6; // bytes 6..10 and a forced zero
static_assert(kVersionTextOffset + kVersionTextSize == kFileHeaderSize);

namespace list {
constexpr std::size_t kCount = 0;
constexpr std::size_t kBcns = 2;
constexpr std::size_t kRoles = 44;
static_assert(kRoles + 2 * (kInstrumentSlots + 1) == kInstrumentListSize);
} // namespace list

namespace header {
constexpr std::size_t kDescription = 0, kDescriptionSize = 80;
constexpr std::size_t kTemperatureUnits = 82;
constexpr std::size_t kTotalizerDebounce = 84;
constexpr std::size_t kMonitorChannel = 86;
constexpr std::size_t kTriggerType = 88;
constexpr std::size_t kInterval1 = 90;
constexpr std::size_t kInterval2 = 98;
constexpr std::size_t kReadingRate = 106;
constexpr std::size_t kDriftCorrection = 108;
constexpr std::size_t kTriggerOut = 110;
constexpr std::size_t kStopAfterDuration = 112;
constexpr std::size_t kDuration = 114;
constexpr std::size_t kToolboxQueueSize = 118;
constexpr std::size_t kDataFileEnabled = 122;
constexpr std::size_t kDataFilePath = 124, kDataFilePathSize = 260;
constexpr std::size_t kComment = 397, kCommentSize = 70;
constexpr std::size_t kFileMode = 468;
constexpr std::size_t kFileFormat = 470;
constexpr std::size_t kRolloverMode = 472;
constexpr std::size_t kRolloverValue = 474;
constexpr std::size_t kLowDiskAction = 478;
constexpr std::size_t kLowDiskThreshold = 480;
constexpr std::size_t kBatchPeriod = 484;
constexpr std::size_t kBatchStart = 486;
constexpr std::size_t kBatchName = 488, kBatchNameSize = 26;
constexpr std::size_t kBatchType = 514;
constexpr std::size_t kBatchDioLine = 515;
static_assert(kDescription + kDescriptionSize + 2 == kTemperatureUnits);
static_assert(kDataFilePath + kDataFilePathSize + 13 == kComment);
static_assert(kComment + kCommentSize + 1 == kFileMode);
static_assert(kBatchName + kBatchNameSize == kBatchType);
static_assert(kBatchDioLine + 1 == kSetupHeaderSize);
} // namespace header

namespace channel {
constexpr std::size_t kFunction = 0;
constexpr std::size_t kRange = 2;
constexpr std::size_t kChannelA = 4;
constexpr std::size_t kChannelB = 6;
constexpr std::size_t kAverageSet = 8;
constexpr std::size_t kEquationBytes = 12;
constexpr std::size_t kCompiledSize = 14;
constexpr std::size_t kEquationSet = 16;
constexpr std::size_t kR0 = 24; // 20..23: the equation reference, always zero in a file
constexpr std::size_t kAlpha = 32;
constexpr std::size_t kOpenTcDetect = 40;
constexpr std::size_t kShunt = 42;
constexpr std::size_t kLabel = 50, kLabelSize = 16;
constexpr std::size_t kUnits = 67, kUnitsSize = 11;
constexpr std::size_t kMxbEnabled = 78;
constexpr std::size_t kM = 80;
constexpr std::size_t kB = 88;
constexpr std::size_t kAlarmTrigger = 96;
constexpr std::size_t kAlarm1 = 98;
constexpr std::size_t kAlarm2 = 110;
constexpr std::size_t kAlarmSize = 12; // sense, value, output
constexpr std::size_t kDeadband = 122;
static_assert(kLabel + kLabelSize + 1 == kUnits);
static_assert(kUnits + kUnitsSize == kMxbEnabled);
static_assert(kAlarm1 + kAlarmSize == kAlarm2 && kAlarm2 + kAlarmSize == kDeadband);
static_assert(kDeadband + 4 == kChannelRecordSize);
} // namespace channel

namespace options {
constexpr std::size_t kWiredGroup = 0;
constexpr std::size_t kSimulateData = 2;
constexpr std::size_t kInstrumentCount = 4;
constexpr std::size_t kMemoryWrapAround = 6;
constexpr std::size_t kAlarmCheckM100A = 8;
constexpr std::size_t kAlarmCheckM200A = 16;
constexpr std::size_t kLockout = 24;
constexpr std::size_t kStatusOnAlarm = 26;
constexpr std::size_t kStatusOnStart = 28;
constexpr std::size_t kResetTotalizer = 30;
constexpr std::size_t kMainWindow = 32;
constexpr std::size_t kToolbarHidden = 40;
constexpr std::size_t kStatusBarHidden = 42;
constexpr std::size_t kSplitterHeight = 44;
constexpr std::size_t kUnused = 46, kUnusedSize = 26;
static_assert(kMainWindow + kWindowRectSize == kToolbarHidden);
static_assert(kUnused + kUnusedSize == kLoggerOptionsSize);
} // namespace options

namespace plot {
constexpr std::size_t kMinimum = 0;
constexpr std::size_t kMaximum = 4;
constexpr std::size_t kSamplingInterval = 8;
constexpr std::size_t kCount = 10;
constexpr std::size_t kChannels = 12;
static_assert(kChannels + 2 * kPlotChannels == kPlotSettingsSize);
} // namespace plot

void putFlag(Bytes out, std::size_t offset, bool flag) { putU16(out, offset, flag ? 1 : 0); }

bool getFlag(ConstBytes in, std::size_t offset) { return getU16(in, offset) != 0; }

void putAlarm(Bytes out, std::size_t offset, const AlarmSetup &alarm) {
    putU16(out, offset, codeValue(alarm.sense));
    putDouble(out, offset + 2, alarm.value);
    putU16(out, offset + 10, codeValue(alarm.output));
}

AlarmSetup getAlarm(ConstBytes in, std::size_t offset) {
    return {toCode<AlarmSense>(getU16(in, offset)), getDouble(in, offset + 2),
            toCode<AlarmOutput>(getU16(in, offset + 10))};
}

void putRect(Bytes out, std::size_t offset, const WindowRect &rect) {
    putI16(out, offset, rect.left);
    putI16(out, offset + 2, rect.top);
    putI16(out, offset + 4, rect.right);
    putI16(out, offset + 6, rect.bottom);
}

WindowRect getRect(ConstBytes in, std::size_t offset) {
    return {getI16(in, offset), getI16(in, offset + 2), getI16(in, offset + 4), getI16(in, offset + 6)};
}

} // namespace

Record<kFileHeaderSize> encodeFileHeader() {
    Record<kFileHeaderSize> record{};
    std::copy(kRecordFormMark.begin(), kRecordFormMark.end(), record.begin());
    putText(record, kVersionOffset, sizeof kVersion, kVersion);
    return record;
}

bool isRecordForm(std::span<const std::uint8_t> start) {
    return start.size() >= kRecordFormMark.size() &&
           std::equal(kRecordFormMark.begin(), kRecordFormMark.end(), start.begin());
}

std::string fileVersionText(RecordView<kFileHeaderSize> header) {
    return getText(header, kVersionTextOffset, kVersionTextSize);
}

double fileVersion(const std::string &versionText) { return std::strtod(versionText.c_str(), nullptr); }

Record<kInstrumentListSize> encodeInstrumentList(const InstrumentList &instruments) {
    Record<kInstrumentListSize> record{};
    putU16(record, list::kCount, instruments.count);
    for (std::size_t i = 0; i < instruments.bcns.size(); ++i) {
        putU16(record, list::kBcns + 2 * i, instruments.bcns[i]);
        putU16(record, list::kRoles + 2 * i, instruments.roles[i]);
    }
    return record;
}

InstrumentList decodeInstrumentList(RecordView<kInstrumentListSize> record) {
    InstrumentList instruments;
    instruments.count = getU16(record, list::kCount);
    for (std::size_t i = 0; i < instruments.bcns.size(); ++i) {
        instruments.bcns[i] = getU16(record, list::kBcns + 2 * i);
        instruments.roles[i] = getU16(record, list::kRoles + 2 * i);
    }
    return instruments;
}

Record<kSetupHeaderSize> encodeSetupHeader(const InstrumentSetup &setup) {
    using namespace header;
    const DataFileSetup &file = setup.dataFile;
    Record<kSetupHeaderSize> record{};
    putText(record, kDescription, kDescriptionSize, setup.description);
    putU16(record, kTemperatureUnits, codeValue(setup.temperatureUnits));
    putFlag(record, kTotalizerDebounce, setup.totalizerDebounce);
    putU16(record, kMonitorChannel, setup.monitorChannel);
    putU16(record, kTriggerType, codeValue(setup.triggerType));
    putDouble(record, kInterval1, setup.interval1);
    putDouble(record, kInterval2, setup.interval2);
    putU16(record, kReadingRate, codeValue(setup.readingRate));
    putFlag(record, kDriftCorrection, setup.driftCorrection);
    putFlag(record, kTriggerOut, setup.triggerOut);
    putFlag(record, kStopAfterDuration, setup.stopAfterDuration);
    putU32(record, kDuration, setup.duration);
    putU32(record, kToolboxQueueSize, setup.toolboxQueueSize);
    putFlag(record, kDataFileEnabled, file.enabled);
    putText(record, kDataFilePath, kDataFilePathSize, file.path);
    putText(record, kComment, kCommentSize, file.comment);
    putU16(record, kFileMode, codeValue(file.mode));
    putU16(record, kFileFormat, codeValue(file.format));
    putU16(record, kRolloverMode, codeValue(file.rolloverMode));
    putU32(record, kRolloverValue, file.rolloverValue);
    putU16(record, kLowDiskAction, file.lowDiskAction);
    putU32(record, kLowDiskThreshold, file.lowDiskThreshold);
    putU16(record, kBatchPeriod, file.batchPeriod);
    putU16(record, kBatchStart, file.batchStart);
    putText(record, kBatchName, kBatchNameSize, file.batchName);
    putU8(record, kBatchType, file.batchType);
    putU8(record, kBatchDioLine, file.batchDioLine);
    return record;
}

void decodeSetupHeader(RecordView<kSetupHeaderSize> record, InstrumentSetup &setup) {
    using namespace header;
    DataFileSetup &file = setup.dataFile;
    setup.description = getText(record, kDescription, kDescriptionSize);
    setup.temperatureUnits = toCode<TemperatureUnits>(getU16(record, kTemperatureUnits));
    setup.totalizerDebounce = getFlag(record, kTotalizerDebounce);
    setup.monitorChannel = getU16(record, kMonitorChannel);
    setup.triggerType = toCode<TriggerType>(getU16(record, kTriggerType));
    setup.interval1 = getDouble(record, kInterval1);
    setup.interval2 = getDouble(record, kInterval2);
    setup.readingRate = toCode<ReadingRate>(getU16(record, kReadingRate));
    setup.driftCorrection = getFlag(record, kDriftCorrection);
    setup.triggerOut = getFlag(record, kTriggerOut);
    setup.stopAfterDuration = getFlag(record, kStopAfterDuration);
    setup.duration = getU32(record, kDuration);
    setup.toolboxQueueSize = getU32(record, kToolboxQueueSize);
    file.enabled = getFlag(record, kDataFileEnabled);
    file.path = getText(record, kDataFilePath, kDataFilePathSize);
    file.comment = getText(record, kComment, kCommentSize);
    file.mode = toCode<FileMode>(getU16(record, kFileMode));
    file.format = toCode<FileFormat>(getU16(record, kFileFormat));
    file.rolloverMode = toCode<RolloverMode>(getU16(record, kRolloverMode));
    file.rolloverValue = getU32(record, kRolloverValue);
    file.lowDiskAction = getU16(record, kLowDiskAction);
    file.lowDiskThreshold = getU32(record, kLowDiskThreshold);
    file.batchPeriod = getU16(record, kBatchPeriod);
    file.batchStart = getU16(record, kBatchStart);
    file.batchName = getText(record, kBatchName, kBatchNameSize);
    file.batchType = getU8(record, kBatchType);
    file.batchDioLine = getU8(record, kBatchDioLine);
}

Record<kChannelRecordSize> encodeChannel(const ChannelSetup &setup, std::uint16_t equationLength) {
    using namespace channel;
    Record<kChannelRecordSize> record{};
    putU16(record, kFunction, codeValue(setup.function));
    putU16(record, kRange, codeValue(setup.range));
    putU16(record, kChannelA, setup.channelA);
    putU16(record, kChannelB, setup.channelB);
    putU32(record, kAverageSet, setup.averageSet);
    putU16(record, kEquationBytes, equationLength);
    putU16(record, kCompiledSize, setup.compiledSize);
    putU32(record, kEquationSet, setup.equationSet);
    putDouble(record, kR0, setup.r0);
    putDouble(record, kAlpha, setup.alpha);
    putFlag(record, kOpenTcDetect, setup.openTcDetect);
    putDouble(record, kShunt, setup.shunt);
    putText(record, kLabel, kLabelSize, setup.label);
    putText(record, kUnits, kUnitsSize, setup.unitsLabel);
    putFlag(record, kMxbEnabled, setup.mxbEnabled);
    putDouble(record, kM, setup.m);
    putDouble(record, kB, setup.b);
    putFlag(record, kAlarmTrigger, setup.alarmTrigger);
    putAlarm(record, kAlarm1, setup.alarm1);
    putAlarm(record, kAlarm2, setup.alarm2);
    putFloat(record, kDeadband, setup.deadband);
    return record;
}

ChannelSetup decodeChannel(RecordView<kChannelRecordSize> record) {
    using namespace channel;
    ChannelSetup setup;
    setup.function = toCode<ChannelFunction>(getU16(record, kFunction));
    setup.range = toCode<RangeCode>(getU16(record, kRange));
    setup.channelA = getU16(record, kChannelA);
    setup.channelB = getU16(record, kChannelB);
    setup.averageSet = getU32(record, kAverageSet);
    setup.equationLength = getU16(record, kEquationBytes);
    setup.compiledSize = getU16(record, kCompiledSize);
    setup.equationSet = getU32(record, kEquationSet);
    setup.r0 = getDouble(record, kR0);
    setup.alpha = getDouble(record, kAlpha);
    setup.openTcDetect = getFlag(record, kOpenTcDetect);
    setup.shunt = getDouble(record, kShunt);
    setup.label = getText(record, kLabel, kLabelSize);
    setup.unitsLabel = getText(record, kUnits, kUnitsSize);
    setup.mxbEnabled = getFlag(record, kMxbEnabled);
    setup.m = getDouble(record, kM);
    setup.b = getDouble(record, kB);
    setup.alarmTrigger = getFlag(record, kAlarmTrigger);
    setup.alarm1 = getAlarm(record, kAlarm1);
    setup.alarm2 = getAlarm(record, kAlarm2);
    setup.deadband = getFloat(record, kDeadband);
    return setup;
}

Record<kLoggerOptionsSize> encodeLoggerOptions(const LoggerOptions &logger, std::uint16_t instrumentCount) {
    using namespace options;
    Record<kLoggerOptionsSize> record{};
    putFlag(record, kWiredGroup, logger.wiredGroup);
    putFlag(record, kSimulateData, logger.simulateData);
    putU16(record, kInstrumentCount, instrumentCount);
    putFlag(record, kMemoryWrapAround, logger.memoryWrapAround);
    putDouble(record, kAlarmCheckM100A, logger.alarmCheckIntervalM100A);
    putDouble(record, kAlarmCheckM200A, logger.alarmCheckIntervalM200A);
    putFlag(record, kLockout, logger.configurationLockout);
    putFlag(record, kStatusOnAlarm, logger.statusOnAlarm);
    putFlag(record, kStatusOnStart, logger.statusOnStart);
    putFlag(record, kResetTotalizer, logger.resetTotalizer);
    putRect(record, kMainWindow, logger.mainWindow);
    putFlag(record, kToolbarHidden, logger.toolbarHidden);
    putFlag(record, kStatusBarHidden, logger.statusBarHidden);
    putI16(record, kSplitterHeight, logger.splitterHeight == 0 ? std::int16_t{-1} : logger.splitterHeight);
    return record;
}

LoggerOptions decodeLoggerOptions(RecordView<kLoggerOptionsSize> record) {
    using namespace options;
    LoggerOptions logger;
    logger.wiredGroup = getFlag(record, kWiredGroup);
    logger.simulateData = getFlag(record, kSimulateData);
    logger.memoryWrapAround = getFlag(record, kMemoryWrapAround);
    logger.alarmCheckIntervalM100A = getDouble(record, kAlarmCheckM100A);
    logger.alarmCheckIntervalM200A = getDouble(record, kAlarmCheckM200A);
    logger.configurationLockout = getFlag(record, kLockout);
    logger.statusOnAlarm = getFlag(record, kStatusOnAlarm);
    logger.statusOnStart = getFlag(record, kStatusOnStart);
    logger.resetTotalizer = getFlag(record, kResetTotalizer);
    logger.mainWindow = getRect(record, kMainWindow);
    logger.toolbarHidden = getFlag(record, kToolbarHidden);
    logger.statusBarHidden = getFlag(record, kStatusBarHidden);
    logger.splitterHeight = getI16(record, kSplitterHeight);
    return logger;
}

Record<kWindowRectSize> encodeWindowRect(const WindowRect &rect) {
    Record<kWindowRectSize> record{};
    putRect(record, 0, rect);
    return record;
}

WindowRect decodeWindowRect(RecordView<kWindowRectSize> record) { return getRect(record, 0); }

Record<kPlotSettingsSize> encodePlotSettings(const PlotSettings &settings) {
    using namespace plot;
    Record<kPlotSettingsSize> record{};
    putFloat(record, kMinimum, settings.minimum);
    putFloat(record, kMaximum, settings.maximum);
    putU16(record, kSamplingInterval, settings.samplingInterval);
    putU16(record, kCount, settings.channelCount);
    for (std::size_t i = 0; i < kPlotChannels; ++i) putU16(record, kChannels + 2 * i, settings.channels[i]);
    return record;
}

PlotSettings decodePlotSettings(RecordView<kPlotSettingsSize> record) {
    using namespace plot;
    PlotSettings settings;
    settings.minimum = getFloat(record, kMinimum);
    settings.maximum = getFloat(record, kMaximum);
    settings.samplingInterval = getU16(record, kSamplingInterval);
    settings.channelCount = getU16(record, kCount);
    for (std::size_t i = 0; i < kPlotChannels; ++i) settings.channels[i] = getU16(record, kChannels + 2 * i);
    return settings;
}

} // namespace korvel

#include "setup/configuration_report.h"

#include "platform/string_table.h"
#include "setup/channel_identifier.h"
#include "setup/dialog_numbers.h"
#include "setup/instrument_identity.h"
#include "setup/report_channel_row.h"
#include "setup/text_format.h"
#include "setup/time_parts.h"
#include "setup/trigger_parts.h"

namespace korvel {

namespace {

constexpr int kFirstPairLabel = 946;
constexpr int kFirstHeading = 960;
constexpr std::array<std::size_t, kReportColumns> kHeadingLengths{5, 9, 12, 10, 10, 4, 8, 9, 15};

constexpr int kYes = 1274;
constexpr int kNo = 1275;
constexpr int kNotApplicable = 1276;
constexpr int kNone = 1266;

std::string codeText(std::uint16_t code) { return resourceString(code); }

std::string yesNo(bool value) { return resourceString(value ? kYes : kNo); }

bool hasIntervalPart(TriggerType type) { return triggerParts(type).interval; }

std::string intervalText(double seconds, const RegionalFormats &formats) {
    return secondsText(seconds, formats.decimalSymbol) + " sec";
}

// Whose settings the report reads: the instrument's own, and for a Slave the
// scan and data-file settings of its Master.
struct ReportSubject {
    InstrumentIdentity identity;
    bool slave = false; // a Slave of the setup's Master
    const InstrumentSetup *own = nullptr;
    const InstrumentSetup *scan = nullptr;
};

ReportSubject subjectOf(const InstrumentTable &table, int slot, const LoggerOptions &options) {
    const InstrumentSlot &entry = table.slot(slot);
    ReportSubject subject;
    subject.identity = identityOf(table, slot, options);
    subject.slave = subject.identity.setupHasMaster && subject.identity.slave();
    subject.own = entry.setup.get();
    subject.scan = subject.slave ? table.slot(table.masterSlot()).setup.get() : subject.own;
    return subject;
}

std::string title(const ReportSubject &subject) {
    const InstrumentIdentity &identity = subject.identity;
    if (identity.setupHasMaster) {
        return "INSTRUMENT CONFIGURATION - " +
               formatted("%02u (%s)", identity.bcn, codeText(codeValue(identity.role)).c_str());
    }
    return "INSTRUMENT CONFIGURATION - " + formatted("%02u", identity.bcn);
}

std::string triggerTypeValue(const ReportSubject &subject) {
    if (subject.slave)
        return codeText(codeValue(subject.identity.wiredGroup ? TriggerType::External : TriggerType::Interval));
    return codeText(codeValue(subject.scan->triggerType));
}

std::string interval1Value(const ReportSubject &subject, const RegionalFormats &formats) {
    const InstrumentSetup &scan = *subject.scan;
    if (subject.slave) {
        if (subject.identity.wiredGroup) return resourceString(kNotApplicable);
        return intervalText(hasIntervalPart(scan.triggerType) ? scan.interval1 : scan.interval2, formats);
    }
    if (!hasIntervalPart(scan.triggerType)) return resourceString(kNotApplicable);
    return intervalText(scan.interval1, formats);
}

std::string interval2Value(const ReportSubject &subject, const RegionalFormats &formats) {
    if (subject.slave || subject.scan->triggerType == TriggerType::Interval) return resourceString(kNotApplicable);
    return intervalText(subject.scan->interval2, formats);
}

std::string durationValue(const InstrumentSetup &scan, const RegionalFormats &formats) {
    if (!scan.stopAfterDuration) return resourceString(kNotApplicable);
    const DurationParts parts = durationParts(scan.duration);
    const char separator = formats.timeSeparator;
    return formatted("%02u%c%02u%c%02u", parts.hours, separator, parts.minutes, separator, parts.seconds);
}

std::string monitorValue(const ReportSubject &subject) {
    const unsigned monitor = subject.own->monitorChannel;
    if (monitor == 0) return resourceString(kNone);
    return formatted("%04u", channelIdentifier(subject.identity.bcn, static_cast<int>(monitor)));
}

std::string batchingText(const DataFileSetup &file, const RegionalFormats &formats) {
    switch (file.batchType) {
        case 1: return formatted("%c batching: DIO %u", formats.listSeparator, unsigned{file.batchDioLine});
        case 2:
        case 3: {
            const PeriodParts period = batchPeriodParts(file.batchPeriod);
            return formatted("%c batching: interval %u%c%02u", formats.listSeparator, period.hours,
                             formats.timeSeparator, period.minutes);
        }
        default: return {};
    }
}

std::string fileModeValue(const DataFileSetup &file) {
    if (!file.enabled || file.format == FileFormat::TrendLink) return resourceString(kNotApplicable);
    return codeText(codeValue(file.mode));
}

std::string fileFormatValue(const DataFileSetup &file, const RegionalFormats &formats) {
    if (!file.enabled) return resourceString(kNotApplicable);
    std::string text = codeText(codeValue(file.format));
    if (file.format == FileFormat::TrendLink) text += batchingText(file, formats);
    return text;
}

std::array<std::string, kReportPairs> pairValues(const ReportSubject &subject, const RegionalFormats &formats) {
    const InstrumentSetup &own = *subject.own;
    const InstrumentSetup &scan = *subject.scan;
    const DataFileSetup &file = scan.dataFile;
    return {
        own.description.empty() ? "(" + resourceString(kNone) + ")" : own.description,
        codeText(codeValue(subject.identity.model)),
        triggerTypeValue(subject),
        interval1Value(subject, formats),
        interval2Value(subject, formats),
        codeText(codeValue(scan.readingRate)),
        yesNo(scan.driftCorrection),
        durationValue(scan, formats),
        own.temperatureUnits == TemperatureUnits::Celsius ? "Celsius" : "Fahrenheit",
        monitorValue(subject),
        yesNo(own.totalizerDebounce),
        file.enabled ? file.path : resourceString(kNone),
        fileModeValue(file),
        fileFormatValue(file, formats),
    };
}

ReportRow headings() {
    ReportRow row;
    for (std::size_t column = 0; column < kReportColumns; ++column) {
        row[column] = cut(resourceString(kFirstHeading + static_cast<int>(column)), kHeadingLengths[column]);
    }
    return row;
}

} // namespace

ConfigurationReport buildConfigurationReport(const InstrumentTable &table, int slot, const LoggerOptions &options,
                                             const RegionalFormats &formats) {
    const ReportSubject subject = subjectOf(table, slot, options);
    ConfigurationReport report;
    report.title = title(subject);
    const std::array<std::string, kReportPairs> values = pairValues(subject, formats);
    for (std::size_t pair = 0; pair < kReportPairs; ++pair) {
        report.pairs[pair] = {resourceString(kFirstPairLabel + static_cast<int>(pair)), values[pair]};
    }
    report.headings = headings();

    const ChannelRowContext context{subject.identity.bcn, subject.slave, subject.scan->triggerType, reportOnOffWords()};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const ChannelSetup &setup = subject.own->channel(channel);
        if (setup.function == ChannelFunction::Off) continue;
        report.rows[static_cast<std::size_t>(channel - 1)] = channelRow(context, channel, setup);
        ++report.rowCount;
    }
    return report;
}

} // namespace korvel

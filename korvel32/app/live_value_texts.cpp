#include "app/live_value_texts.h"

#include "app/live_scans.h"
#include "datafiles/scan_time.h"
#include "datafiles/trend_link_time.h"
#include "logging/logging_engine.h"
#include "logging/write_scan.h"
#include "platform/regional_formats.h"
#include "setup/instrument_table.h"
#include "setup/scan_fields.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace korvel {
namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

// What an item says when there is no value to give.
std::size_t writeNoValue(char *out) {
    out[0] = '0';
    out[1] = '\0';
    return 1;
}

std::size_t writeNumber(std::uint32_t value, char *out) {
    const std::size_t length = static_cast<std::size_t>(std::to_chars(out, out + 10, value).ptr - out);
    out[length] = '\0';
    return length;
}

} // namespace

void LiveValueTexts::attach(LoggingEngine *engine) {
    engine_ = engine;
    values_.emplace(regional_.decimalSymbol);
    slot_ = 0;
}

std::string LiveValueTexts::systemText(LiveItem item) const {
    switch (item) {
        case live_item::kTopics: {
            std::string topics = liveTopicName(kSystemTopic);
            for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
                const InstrumentSlot &entry = table_.slot(slot);
                if (entry.inUse) topics += ", " + liveTopicName(entry.bcn);
            }
            return topics;
        }
        case live_item::kSysItems:
            return liveItemName(kSystemTopic, live_item::kTopics) + ", " +
                   liveItemName(kSystemTopic, live_item::kSysItems) + ", " +
                   liveItemName(kSystemTopic, live_item::kFormats);
        default: return "TEXT";
    }
}

void LiveValueTexts::beginInstrument(int bcn) {
    slot_ = 0;
    if (engine_ == nullptr) return;
    const int slot = table_.find(static_cast<unsigned>(bcn));
    if (slot != 0 && latestScanOf(*engine_, slot) != nullptr) slot_ = slot;
}

std::string_view LiveValueTexts::instrumentText(LiveItem item) { return {text_.data(), write(item, text_.data())}; }

std::size_t LiveValueTexts::write(LiveItem item, char *out) {
    if (slot_ == 0) return writeNoValue(out);
    const ScanRecord &scan = engine_->scanBuffer(slot_).latestScan;
    switch (item) {
        case live_item::kDateTime: return writeDateTime(out);
        case live_item::kAlarm1: return writeNumber(scan.alarm1, out);
        case live_item::kAlarm2: return writeNumber(scan.alarm2, out);
        case live_item::kDio: return writeNumber(scanDigitalIo(scan), out);
        case live_item::kTotalizer: return writeNumber(scan.totalizer, out);
        default: return writeChannel(item - live_item::kFirstChannel + 1, out);
    }
}

// The scan time as its data file has it. The file's writer carries the run's
// daylight states from scan to scan, so with a data file a copy serves;
// without one, the states are carried on here. A data set stamps its scans
// with the historian's time conversion, which the date follows.
std::size_t LiveValueTexts::writeDateTime(char *out) {
    LoggingRun &run = engine_->run(slot_);
    const ScanRecord &scan = engine_->scanBuffer(slot_).latestScan;
    const unsigned milliseconds = scanMilliseconds(scan);
    const int owner = dataFileOwner(table_, slot_);
    const DataFileSetup &file = table_.slot(owner != 0 ? owner : slot_).setup->dataFile;
    if (!file.enabled)
        return writeSerialDate(convertScanTime(scan.time, run.daylight).local, milliseconds, regional_.decimalSymbol,
                               out);
    DaylightStates copy = run.daylight;
    if (file.format == FileFormat::TrendLink) {
        const double stored = trendLinkTime(scan, copy, trendLinkLibrary_);
        const auto seconds = static_cast<std::int64_t>(std::floor(stored / kMillisecondsPerSecond));
        return writeSerialDate(localTimeOf(seconds), milliseconds, regional_.decimalSymbol, out);
    }
    return writeSerialDate(convertScanTime(scan.time, copy).local, milliseconds, regional_.decimalSymbol, out);
}

std::size_t LiveValueTexts::writeChannel(int channel, char *out) const {
    const int reading = readingIndex(*table_.slot(slot_).setup, channel);
    if (reading < 0) return writeNoValue(out);
    return values_->write(engine_->scanBuffer(slot_).latestScan.readings[reading], out);
}

} // namespace korvel

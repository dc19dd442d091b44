#include "setup/batch_options_rules.h"

#include "setup/dialog_numbers.h"
#include "setup/time_parts.h"

namespace korvel {

namespace {

constexpr int kDioLines = 8;
constexpr unsigned long kPeriodHoursBelow = 1000;
constexpr unsigned long kPeriodMinutesBelow = 100;
constexpr unsigned long kHoursInDay = 24;
constexpr unsigned long kMinutesInHour = 60;

constexpr std::uint8_t kSessionType = 0;
constexpr std::uint8_t kDioLowType = 1;
constexpr std::uint8_t kPeriodicType = 2;
constexpr std::uint8_t kPeriodicFromTimeType = 3;

BatchDefinition definitionOf(std::uint8_t type) {
    switch (type) {
        case kDioLowType: return BatchDefinition::DioLow;
        case kPeriodicType:
        case kPeriodicFromTimeType: return BatchDefinition::Periodic;
        default: return BatchDefinition::Session;
    }
}

// Hours and minutes below the given bounds, as minutes; none when either
// field holds no whole number or is out of bounds.
std::optional<unsigned long> minutesOf(const std::string &hours, const std::string &minutes, unsigned long hoursBelow,
                                       unsigned long minutesBelow) {
    const auto h = typedWholeNumber(hours);
    const auto m = typedWholeNumber(minutes);
    if (!h || !m || *h >= hoursBelow || *m >= minutesBelow) return std::nullopt;
    return *h * kMinutesInHour + *m;
}

} // namespace

BatchOptionsModel::BatchOptionsModel(const DataFileSetup &file, const InstrumentIdentity &identity)
        : identity_(identity), name_(file.batchName), definition_(definitionOf(file.batchType)),
          dioLine_(file.batchDioLine < kDioLines ? file.batchDioLine : 0),
          startAtTime_(file.batchType == kPeriodicFromTimeType), period_(file.batchPeriod), start_(file.batchStart) {
    const PeriodParts period = batchPeriodParts(file.batchPeriod);
    periodHours_ = std::to_string(period.hours);
    periodMinutes_ = std::to_string(period.minutes);
    startHours_ = std::to_string(file.batchStart / kMinutesInHour);
    startMinutes_ = std::to_string(file.batchStart % kMinutesInHour);
}

std::string BatchOptionsModel::caption() const { return instrumentCaption("Batch Options", identity_); }

std::vector<std::string> BatchOptionsModel::dioItems() {
    std::vector<std::string> items;
    for (int line = 0; line < kDioLines; ++line) items.push_back("DIO " + std::to_string(line));
    return items;
}

void BatchOptionsModel::chooseDioLine(int line) {
    if (line >= 0 && line < kDioLines) dioLine_ = line;
}

const std::string &BatchOptionsModel::text(BatchControl field) const {
    switch (field) {
        case BatchControl::PeriodHours: return periodHours_;
        case BatchControl::PeriodMinutes: return periodMinutes_;
        case BatchControl::StartHours: return startHours_;
        case BatchControl::StartMinutes: return startMinutes_;
        default: return name_;
    }
}

void BatchOptionsModel::setText(BatchControl field, std::string text) {
    switch (field) {
        case BatchControl::PeriodHours: periodHours_ = std::move(text); break;
        case BatchControl::PeriodMinutes: periodMinutes_ = std::move(text); break;
        case BatchControl::StartHours: startHours_ = std::move(text); break;
        case BatchControl::StartMinutes: startMinutes_ = std::move(text); break;
        case BatchControl::Name: name_ = std::move(text); break;
        default: break;
    }
}

bool BatchOptionsModel::enabled(BatchControl control) const {
    const bool periodic = definition_ == BatchDefinition::Periodic;
    switch (control) {
        case BatchControl::DioLine: return definition_ == BatchDefinition::DioLow;
        case BatchControl::PeriodHours:
        case BatchControl::PeriodMinutes:
        case BatchControl::StartAtTime: return periodic;
        case BatchControl::StartHours:
        case BatchControl::StartMinutes: return periodic && startAtTime_;
        default: return true;
    }
}

Checked<BatchControl> BatchOptionsModel::accept() {
    if (definition_ != BatchDefinition::Periodic) return std::nullopt;
    const auto period = minutesOf(periodHours_, periodMinutes_, kPeriodHoursBelow, kPeriodMinutesBelow);
    if (!period || *period == 0) return refuse(message::kBatchIntervalRange, BatchControl::PeriodHours);
    period_ = static_cast<std::uint16_t>(*period);
    if (!startAtTime_) return std::nullopt;
    const auto start = minutesOf(startHours_, startMinutes_, kHoursInDay, kMinutesInHour);
    if (!start) return refuse(message::kBatchTimeOfDay, BatchControl::StartHours);
    start_ = static_cast<std::uint16_t>(*start);
    return std::nullopt;
}

void BatchOptionsModel::applyTo(DataFileSetup &file) const {
    file.batchName = name_;
    switch (definition_) {
        case BatchDefinition::Session: file.batchType = kSessionType; break;
        case BatchDefinition::DioLow:
            file.batchType = kDioLowType;
            file.batchDioLine = static_cast<std::uint8_t>(dioLine_);
            break;
        case BatchDefinition::Periodic:
            file.batchType = startAtTime_ ? kPeriodicFromTimeType : kPeriodicType;
            file.batchPeriod = period_;
            file.batchStart = start_;
            break;
    }
}

} // namespace korvel

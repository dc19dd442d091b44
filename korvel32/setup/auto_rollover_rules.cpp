#include "setup/auto_rollover_rules.h"

#include "setup/dialog_numbers.h"

#include <cmath>

namespace korvel {

namespace {

constexpr double kSecondsPerHour = 3600.0;

struct Bounds {
    double lowest;
    double highest;
    int messageId;
};

constexpr Bounds kFileSize{200, 100000, message::kRolloverFileSize};
constexpr Bounds kHourOfDay{0, 23, message::kRolloverHourOfDay};
constexpr Bounds kTimeInterval{1, 99, message::kRolloverTimeInterval};
constexpr Bounds kFreeDiskSpace{0, 100000, message::kRolloverFreeDiskSpace};

std::string shownUnless(bool stored, std::uint32_t value, const char *otherwise) {
    return stored ? std::to_string(value) : otherwise;
}

} // namespace

AutoRolloverModel::AutoRolloverModel(const DataFileSetup &file, const InstrumentIdentity &identity, char decimalSymbol)
        : identity_(identity), decimalSymbol_(decimalSymbol), mode_(file.rolloverMode),
          fileSize_(shownUnless(mode_ == RolloverMode::FileSize, file.rolloverValue, "1000")),
          timeInterval_(mode_ == RolloverMode::TimeInterval ? gText(file.rolloverValue / kSecondsPerHour, decimalSymbol)
                                                            : "1"),
          hourOfDay_(shownUnless(mode_ == RolloverMode::HourOfDay, file.rolloverValue, "0")),
          freeDiskSpace_(std::to_string(file.lowDiskThreshold)), stopLogging_(file.lowDiskAction != 0) {}

std::string AutoRolloverModel::caption() const { return instrumentCaption("Auto Rollover", identity_); }

const std::string &AutoRolloverModel::text(RolloverControl field) const {
    switch (field) {
        case RolloverControl::FileSize: return fileSize_;
        case RolloverControl::TimeInterval: return timeInterval_;
        case RolloverControl::HourOfDay: return hourOfDay_;
        default: return freeDiskSpace_;
    }
}

void AutoRolloverModel::setText(RolloverControl field, std::string text) {
    switch (field) {
        case RolloverControl::FileSize: fileSize_ = std::move(text); break;
        case RolloverControl::TimeInterval: timeInterval_ = std::move(text); break;
        case RolloverControl::HourOfDay: hourOfDay_ = std::move(text); break;
        case RolloverControl::FreeDiskSpace: freeDiskSpace_ = std::move(text); break;
        default: break;
    }
}

bool AutoRolloverModel::enabled(RolloverControl control) const {
    switch (control) {
        case RolloverControl::FileSize: return mode_ == RolloverMode::FileSize;
        case RolloverControl::TimeInterval: return mode_ == RolloverMode::TimeInterval;
        case RolloverControl::HourOfDay: return mode_ == RolloverMode::HourOfDay;
        default: return true;
    }
}

Checked<RolloverControl> AutoRolloverModel::accept() {
    const auto read = [this](RolloverControl field, const Bounds &bounds) -> Checked<RolloverControl> {
        if (typedWithin(text(field), bounds.lowest, bounds.highest, decimalSymbol_)) return std::nullopt;
        return refuse(bounds.messageId, field);
    };
    std::uint32_t value = 0;
    switch (mode_) {
        case RolloverMode::FileSize:
            if (auto refused = read(RolloverControl::FileSize, kFileSize)) return refused;
            value = static_cast<std::uint32_t>(typedValue(fileSize_, decimalSymbol_));
            break;
        case RolloverMode::HourOfDay:
            if (auto refused = read(RolloverControl::HourOfDay, kHourOfDay)) return refused;
            value = static_cast<std::uint32_t>(typedValue(hourOfDay_, decimalSymbol_));
            break;
        case RolloverMode::TimeInterval:
            if (auto refused = read(RolloverControl::TimeInterval, kTimeInterval)) return refused;
            value =
                static_cast<std::uint32_t>(std::lround(typedValue(timeInterval_, decimalSymbol_) * kSecondsPerHour));
            break;
        case RolloverMode::None: break;
    }
    if (auto refused = read(RolloverControl::FreeDiskSpace, kFreeDiskSpace)) return refused;
    value_ = value;
    threshold_ = static_cast<std::uint32_t>(typedValue(freeDiskSpace_, decimalSymbol_));
    return std::nullopt;
}

void AutoRolloverModel::applyTo(DataFileSetup &file) const {
    file.rolloverMode = mode_;
    file.rolloverValue = value_;
    file.lowDiskAction = stopLogging_ ? 1 : 0;
    file.lowDiskThreshold = threshold_;
}

} // namespace korvel

#include "setup/deadband_rules.h"

#include "setup/dialog_numbers.h"
#include "setup/text_format.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr double kSmallestDeadband = 1e-8;

} // namespace

DeadbandValuesModel::DeadbandValuesModel(const InstrumentSetup &working, const InstrumentIdentity &identity,
                                         char decimalSymbol)
        : identity_(identity), decimalSymbol_(decimalSymbol) {
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const ChannelSetup &entry = working.channel(channel);
        deadbands_[static_cast<std::size_t>(channel)] = entry.deadband;
        if (entry.function != ChannelFunction::Off) listed_.push_back({channel, entry.unitsLabel, entry.label});
    }
    if (!listed_.empty()) select({listed_.front().channel});
}

std::string DeadbandValuesModel::caption() const { return instrumentCaption("Deadband Values", identity_); }

std::vector<int> DeadbandValuesModel::channels() const {
    std::vector<int> numbers;
    for (const Listed &entry : listed_) numbers.push_back(entry.channel);
    return numbers;
}

std::vector<std::string> DeadbandValuesModel::lines() const {
    std::vector<std::string> texts;
    for (const Listed &entry : listed_) {
        texts.push_back(formatted("%02u%02u   %s\t   (%s, %s)", identity_.bcn, static_cast<unsigned>(entry.channel),
                                  deadbandText(entry.channel).c_str(), entry.units.c_str(), entry.label.c_str()));
    }
    return texts;
}

void DeadbandValuesModel::select(std::vector<int> channels) {
    std::erase_if(channels, [this](int channel) {
        return std::none_of(listed_.begin(), listed_.end(),
                            [channel](const Listed &entry) { return entry.channel == channel; });
    });
    selection_ = std::move(channels);
    if (!selection_.empty()) value_ = deadbandText(selection_.front());
}

bool DeadbandValuesModel::enabled(DeadbandControl control) const {
    return control != DeadbandControl::ApplyValue || !selection_.empty();
}

Checked<DeadbandControl> DeadbandValuesModel::applyValue() {
    if (!typedWithin(value_, 0.0, kValueLimit, decimalSymbol_)) {
        return refuse(message::kInvalidValue, DeadbandControl::Value);
    }
    const double value = typedValue(value_, decimalSymbol_);
    const float stored = value < kSmallestDeadband ? 0.0f : static_cast<float>(value);
    for (const int channel : selection_) deadbands_[static_cast<std::size_t>(channel)] = stored;
    return std::nullopt;
}

void DeadbandValuesModel::applyTo(InstrumentSetup &working) const {
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        working.channel(channel).deadband = deadbands_[static_cast<std::size_t>(channel)];
    }
}

std::string DeadbandValuesModel::deadbandText(int channel) const {
    return alternateGText(deadband(channel), decimalSymbol_);
}

} // namespace korvel

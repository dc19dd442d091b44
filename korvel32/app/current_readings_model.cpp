#include "app/current_readings_model.h"

#include "app/live_scans.h"
#include "logging/logging_engine.h"
#include "platform/string_table.h"
#include "setup/channel_identifier.h"
#include "setup/scan_fields.h"
#include "setup/text_format.h"

namespace korvel {

namespace {

constexpr const char *kCaption = "Readings";

} // namespace

CurrentReadingsModel::CurrentReadingsModel(const InstrumentTable &table, const LoggingEngine &engine,
                                           char decimalSymbol)
        : table_(table), engine_(engine), texts_(decimalSymbol, ValueStyle::Display), caption_(kCaption) {}

void CurrentReadingsModel::refill(int selectedSlot) {
    slot_ = selectedSlot >= 1 && selectedSlot <= kInstrumentSlots && table_.slot(selectedSlot).inUse ? selectedSlot : 0;
    readings_ = {" "};
    units_ = {" "};
    channels_.clear();
    if (slot_ == 0) {
        caption_ = kCaption;
        return;
    }
    const unsigned bcn = table_.slot(slot_).bcn;
    caption_ = formatted("%s - %02u", kCaption, bcn);
    for (int channel = 1; channel <= kChannelCount; ++channel)
        channels_.push_back(formatted("%04u", channelIdentifier(bcn, channel)));
    channels_.push_back(resourceString(message::kDioTitle));
    channels_.push_back(resourceString(message::kTotalizerTitle));
    unitsNeedRefresh_ = true;
    if (engine_.run(slot_).logging) update();
}

bool CurrentReadingsModel::update() {
    const ScanRecord *scan = slot_ != 0 ? latestScanOf(engine_, slot_) : nullptr;
    if (scan == nullptr) return false;
    const InstrumentSetup &setup = *table_.slot(slot_).setup;
    readings_.clear();
    int present = 0;
    char text[kValueTextCapacity];
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (setup.channel(channel).function == ChannelFunction::Off) {
            readings_.emplace_back();
        } else {
            readings_.emplace_back(text, texts_.write(scan->readings[present++], text));
        }
    }
    readings_.push_back(std::to_string(scanDigitalIo(*scan)));
    readings_.push_back(std::to_string(scan->totalizer));
    if (unitsNeedRefresh_) {
        units_.clear();
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            const ChannelSetup &entry = setup.channel(channel);
            units_.push_back(entry.function == ChannelFunction::Off ? std::string() : entry.unitsLabel);
        }
        unitsNeedRefresh_ = false;
    }
    return true;
}

void CurrentReadingsModel::configurationChanged(int slot) {
    if (slot == slot_) unitsNeedRefresh_ = true;
}

} // namespace korvel

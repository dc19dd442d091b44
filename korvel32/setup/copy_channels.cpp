#include "setup/copy_channels.h"

#include "platform/string_table.h"
#include "platform/window_notifications.h"
#include "setup/model_repairs.h"
#include "setup/temperature_labels.h"
#include "setup/text_format.h"

#include <algorithm>

namespace korvel {

namespace {

bool anyOtherModel(const InstrumentTable &table, ModelCode sourceModel, const std::vector<int> &targetSlots) {
    return std::any_of(targetSlots.begin(), targetSlots.end(),
                       [&](int slot) { return table.slot(slot).model != sourceModel; });
}

} // namespace

std::vector<CopyTarget> copyTargets(const InstrumentTable &table, int sourceSlot) {
    std::vector<CopyTarget> targets;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const InstrumentSlot &entry = table.slot(slot);
        if (!entry.inUse || slot == sourceSlot) continue;
        targets.push_back(
            {slot, formatted("%02u  %s", unsigned{entry.bcn}, resourceString(codeValue(entry.model)).c_str())});
    }
    return targets;
}

void copyChannelDefinitions(const InstrumentSetup &source, ModelCode sourceModel, InstrumentSetup &target,
                            ModelCode targetModel) {
    for (int number = 1; number <= kAnalogChannels; ++number) {
        ChannelSetup channel = source.channel(number);
        // Ranges the target's model lacks become its nearest own.
        if (sourceModel != targetModel) repairForModel(channel, targetModel);
        followTemperatureUnits(channel, target.temperatureUnits);
        target.channel(number) = std::move(channel);
    }
    for (int number = kFirstComputedChannel; number <= kChannelCount; ++number) {
        target.channel(number) = source.channel(number);
        target.equation(number) = source.equation(number);
    }
    if (target.monitorChannel != 0 && target.channel(target.monitorChannel).function == ChannelFunction::Off) {
        target.monitorChannel = 0;
    }
}

CopyResult copyChannels(InstrumentTable &table, int sourceSlot, const std::vector<int> &targetSlots,
                        const SlotLogging &logging, UserInterface &ui) {
    if (targetSlots.empty()) return {CopyOutcome::Cancelled, {}};
    const InstrumentSlot &source = table.slot(sourceSlot);
    if (anyOtherModel(table, source.model, targetSlots) &&
        !askedYes(ui, resourceString(message::kCopyToDifferentModel))) {
        return {CopyOutcome::KeepOpen, {}};
    }

    CopyResult result{CopyOutcome::Copied, {}};
    for (int slot : targetSlots) {
        InstrumentSlot &target = table.slot(slot);
        if (logging(slot)) {
            ui.showMessage(instrumentMessage(message::kConfigurationWhileLogging, target.bcn), MessageIcon::Exclamation,
                           MessageButtons::Ok);
            continue;
        }
        copyChannelDefinitions(*source.setup, source.model, *target.setup, target.model);
        ui.notify(ChildWindow::QuickPlot, quick_plot::kConfigurationChanged, slot, 0);
        result.changedSlots.push_back(slot);
    }
    return result;
}

} // namespace korvel

#include "shell/configuration_commands.h"

#include "setup/configuration_report_file.h"
#include "setup/file_dialogs.h"
#include "setup/mxb_file.h"
#include "setup/setup_template.h"
#include "shell/channels_configuration_dialog.h"
#include "shell/copy_channels_dialog.h"
#include "shell/file_dialog.h"
#include "shell/group_instruments_dialog.h"
#include "shell/instrument_configuration_dialog.h"
#include "shell/instrument_description_dialog.h"

#include <vector>

namespace korvel {

ConfigurationCommands::ConfigurationCommands(ConfigurationTarget target, ConfigurationChanges &changes,
                                             SlotLogging logging, UserInterface &ui, QWidget *parent)
        : target_(target), changes_(changes), logging_(std::move(logging)), ui_(ui), parent_(parent) {}

InstrumentIdentity ConfigurationCommands::identity(int slot) const {
    return identityOf(target_.table, slot, target_.options);
}

void ConfigurationCommands::configureInstrument(int slot) {
    if (logging_(slot)) return;
    InstrumentConfigurationDialog dialog(
        InstrumentConfigurationModel(*target_.table.slot(slot).setup, identity(slot), target_.regional.decimalSymbol),
        target_.table, slot, target_.link, ui_, parent_);
    if (dialog.exec() == QDialog::Accepted) changes_.commit(slot, dialog.model().setup());
}

void ConfigurationCommands::configureChannels(int slot, int channel) {
    if (logging_(slot)) return;
    InstrumentConfigurationModel instrument(*target_.table.slot(slot).setup, identity(slot),
                                            target_.regional.decimalSymbol);
    ChannelsConfigurationModel channels = instrument.channels(target_.table.setupTemplate().offChannel);
    if (isComputedChannel(channel)) {
        channels.selectComputed({channel});
    } else if (channel != 0) {
        channels.selectAnalog({channel});
    }
    ChannelsConfigurationDialog dialog(std::move(channels), target_.link, ui_, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    instrument.acceptChannels(dialog.model());
    // Channels that leave the instrument's own settings wrong (a monitor
    // channel now OFF) are taken into Instrument Configuration, to be put
    // right there.
    if (const auto refused = instrument.accept()) {
        InstrumentConfigurationDialog whole(std::move(instrument), target_.table, slot, target_.link, ui_, parent_);
        whole.refuse(*refused);
        if (whole.exec() == QDialog::Accepted) changes_.commit(slot, whole.model().setup());
        return;
    }
    changes_.commit(slot, instrument.setup());
}

void ConfigurationCommands::describeInstrument(int slot) {
    InstrumentSetup &setup = *target_.table.slot(slot).setup;
    InstrumentDescriptionDialog dialog(InstrumentDescriptionModel(setup, identity(slot)), ui_, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.model().applyTo(setup);
    changes_.changed({slot});
}

// The roles change at once; afterwards every instrument may read differently.
void ConfigurationCommands::groupInstruments() {
    GroupInstrumentsDialog dialog(GroupInstrumentsModel(target_.table, target_.options), ui_, parent_);
    dialog.exec();
    std::vector<int> instruments;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (target_.table.slot(slot).inUse) instruments.push_back(slot);
    }
    changes_.changed(instruments);
}

void ConfigurationCommands::copyChannels(int slot) {
    CopyChannelsDialog dialog(target_.table, slot, identity(slot), logging_, ui_, parent_);
    if (dialog.exec() == QDialog::Accepted) changes_.changed(dialog.changedSlots());
}

void ConfigurationCommands::loadMxbFile(int slot) {
    if (logging_(slot)) return;
    const auto chosen = chooseFile(loadMxbFileDialog(target_.table.slot(slot).bcn), mxbFile_, parent_);
    if (!chosen) return;
    mxbFile_ = *chosen;
    if (korvel::loadMxbFile(target_.table, slot, *chosen, target_.regional.decimalSymbol, ui_) ==
        MxbLoadResult::Applied)
        changes_.changed({slot});
}

void ConfigurationCommands::saveConfigurationText(int slot) {
    const auto chosen = chooseFile(configurationTextDialog(target_.table.slot(slot).bcn), {}, parent_);
    if (!chosen) return;
    saveConfigurationReport(*chosen, buildConfigurationReport(target_.table, slot, target_.options, target_.regional),
                            ui_);
}

} // namespace korvel

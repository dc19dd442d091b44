// The main window's configuration commands and the setup view's double
// clicks that lead to them.
#include "app/command_ids.h"
#include "configuration_commands.h"
#include "main_frame.h"

namespace korvel {

void CMainFrame::createConfigurationCommands() {
    configurationChanges_ = std::make_unique<ConfigurationChanges>(
        table_, document_, ui_, [this](int slot) { return logging_->runs().logging(slot); },
        [this] { return bar_->selectedSlot(); },
        [this](const std::vector<int> &changed) {
            for (const int slot : changed) bar_->redrawIcon(slot);
            updateViews();
            updateCommands();
        });
    configurationCommands_ = std::make_unique<ConfigurationCommands>(
        ConfigurationTarget{table_, options_, regional_, link_}, *configurationChanges_,
        [this](int slot) { return logging_->runs().logging(slot); }, ui_, this);

    // The commands of the selected instrument run only while one is selected.
    const auto forSelected = [this](void (ConfigurationCommands::*run)(int)) {
        return [this, run] {
            if (const int slot = bar_->selectedSlot(); slot != 0) (configurationCommands_.get()->*run)(slot);
        };
    };
    using namespace command;
    handlers_[kInstrumentConfiguration] = forSelected(&ConfigurationCommands::configureInstrument);
    handlers_[kInstrumentDescription] = forSelected(&ConfigurationCommands::describeInstrument);
    handlers_[kCopyChannels] = forSelected(&ConfigurationCommands::copyChannels);
    handlers_[kLoadMxbFile] = forSelected(&ConfigurationCommands::loadMxbFile);
    handlers_[kSaveConfigurationText] = forSelected(&ConfigurationCommands::saveConfigurationText);
    handlers_[kGroupInstruments] = [this] { configurationCommands_->groupInstruments(); };
}

// Both panes lead to the instrument's configuration as its menu command
// does, and only when that is allowed: the upper pane to Instrument
// Configuration, the lower one to the channels, with the line's channel.
void CMainFrame::configurationRequested(bool channels, int channel) {
    if (!commandEnabled(command::kInstrumentConfiguration, commandState())) return;
    if (channels) {
        configurationCommands_->configureChannels(bar_->selectedSlot(), channel);
        updateCommands();
    } else {
        runCommand(command::kInstrumentConfiguration);
    }
}

} // namespace korvel

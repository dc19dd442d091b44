// The main window's configuration commands: Instrument Configuration (also
// opened by a double click in the setup view, whose lower pane goes straight
// to the channels), Instrument Description, Group Instruments, Copy
// Channels, Load Mx+B File and Save Inst. Config. Text. Each shows its
// dialog over the rules of setup/ and hands what was accepted to
// ConfigurationChanges.
#pragma once

#include "app/configuration_changes.h"
#include "link/instrument_link.h"
#include "platform/regional_formats.h"
#include "setup/instrument_identity.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <string>

class QWidget;

namespace korvel {

// What the commands work on.
struct ConfigurationTarget {
    InstrumentTable &table;
    LoggerOptions &options;
    const RegionalFormats &regional;
    InstrumentLink &link; // compiles equations
};

class ConfigurationCommands {
public:
    ConfigurationCommands(ConfigurationTarget target, ConfigurationChanges &changes, SlotLogging logging,
                          UserInterface &ui, QWidget *parent);

    // Nothing happens for a logging instrument.
    void configureInstrument(int slot);
    // The Channels Configuration dialog on its own, with the channel (0:
    // channel 1) selected; its OK is the top-level one.
    void configureChannels(int slot, int channel);
    void describeInstrument(int slot);
    void groupInstruments();
    void copyChannels(int slot);
    void loadMxbFile(int slot);
    void saveConfigurationText(int slot);

private:
    InstrumentIdentity identity(int slot) const;

    ConfigurationTarget target_;
    ConfigurationChanges &changes_;
    SlotLogging logging_;
    UserInterface &ui_;
    QWidget *parent_;
    std::string mxbFile_; // the last Mx+B file, where its dialog starts next time
};

} // namespace korvel

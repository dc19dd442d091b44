// korvel-setup set-datafile: the Data File Configuration dialog and its
// Deadband Values, Auto Rollover and Batch Options dialogs.
#pragma once

#include "command_words.h"
#include "setup_session.h"

// SETUP BCN [OUT.stp] with --format, --path, --comment, --mode, --rollover,
// --rollover-value, --low-disk, --low-disk-action, --batch, --batch-name,
// --batch-dio, --batch-period, --batch-start, --deadband, --deadband-channels.
int setDataFile(SetupSession &session, const CommandWords &words);
extern const std::vector<OptionForm> kSetDataFileOptions;

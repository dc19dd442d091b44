// The channel commands of korvel-setup: what the Channels Configuration dialog
// and its Function, Mx+B and Alarms dialogs do to the selected channels.
// Positional words: SETUP BCN CHANNELS ..., then OUT.stp when given.
#pragma once

#include "command_words.h"
#include "setup_session.h"

// SETUP BCN CHANNELS FUNCTION [OUT.stp] with --range, --units, --label, --r0,
// --alpha, --shunt, --otc for analog channels, --average, --chan-a, --chan-b,
// --units, --label for computed ones.
int setChannel(SetupSession &session, const CommandWords &words);
extern const std::vector<OptionForm> kSetChannelOptions;

// SETUP BCN CHANNELS [OUT.stp] with --sense1/2, --value1/2, --output1/2, --trigger.
int setAlarm(SetupSession &session, const CommandWords &words);
extern const std::vector<OptionForm> kSetAlarmOptions;

// SETUP BCN CHANNELS M B [OUT.stp], or SETUP BCN CHANNELS --from X1 X2 Y1 Y2 [OUT.stp].
int setMxb(SetupSession &session, const CommandWords &words);
extern const std::vector<OptionForm> kSetMxbOptions;

// korvel-setup: reads, converts and changes setup files without the logger's
// windows, for people who script or inspect their setups. Changes go through
// the rules of the logger's configuration dialogs, so a script meets the same
// checks; messages go to standard error with the logger's own texts.
#include "channel_commands.h"
#include "command_words.h"
#include "data_file_command.h"
#include "equation_channel.h"
#include "instrument_commands.h"
#include "setup_session.h"

#include "app/toolbox_settings_model.h"
#include "kvlink32.h"
#include "platform/string_table.h"
#include "setup/configuration_report.h"
#include "setup/configuration_report_file.h"
#include "setup/mxb_file.h"
#include "setup/text_format.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

void printUsage(std::ostream &out) {
    out << "usage: korvel-setup report SETUP [BCN]\n"
           "       korvel-setup save-as SETUP OUT.stp\n"
           "       korvel-setup load-mxb SETUP BCN FILE [OUT.stp]\n"
           "       korvel-setup set-equation SETUP BCN CHANNEL EQUATION [OUT.stp]\n"
           "       korvel-setup set-channel SETUP BCN CHANNELS FUNCTION [OPTIONS] [OUT.stp]\n"
           "       korvel-setup set-alarm SETUP BCN CHANNELS [OPTIONS] [OUT.stp]\n"
           "       korvel-setup set-mxb SETUP BCN CHANNELS (M B | --from X1 X2 Y1 Y2) [OUT.stp]\n"
           "       korvel-setup set-instrument SETUP BCN [OPTIONS] [OUT.stp]\n"
           "       korvel-setup set-datafile SETUP BCN [OPTIONS] [OUT.stp]\n"
           "       korvel-setup set-group SETUP BCN ROLE [--wired on|off] [--yes] [OUT.stp]\n"
           "       korvel-setup set-queue SETUP BCN BYTES [OUT.stp]\n"
           "\n"
           "report    prints the configuration text report of every instrument of the\n"
           "          setup, or of the one with that BCN (lines end in CR LF, as in the\n"
           "          configuration text file).\n"
           "save-as   opens a setup file in record or text form and saves it in record form.\n"
           "load-mxb  loads the Mx+B file into the instrument with that BCN and saves the\n"
           "          setup to OUT.stp, or back to SETUP when OUT.stp is not given. Nothing\n"
           "          is saved when the Mx+B file is refused.\n"
           "set-equation  makes computed channel CHANNEL (21-30) of the instrument with\n"
           "          that BCN an Equation channel, e.g. \"(C1+C2)/2\", and saves as load-mxb\n"
           "          does. The equation may read only defined channels numbered below\n"
           "          CHANNEL; when it does not compile a mark shows the place of the error.\n"
           "set-channel   gives CHANNELS (e.g. 1-3,7; all of 1-20 or all of 21-30) the\n"
           "          FUNCTION (e.g. VDC, RTD-4W, Average), with --range R --units U\n"
           "          --label L --r0 OHMS --alpha A --shunt OHMS --otc on|off for channels\n"
           "          1-20 and --average CHANNELS --chan-a N --chan-b N --units U --label L\n"
           "          for channels 21-30.\n"
           "set-alarm     --sense1 OFF|LO|HI --value1 V --output1 None|DO0..DO7, the same\n"
           "          for alarm 2, and --trigger on|off (whether an alarm triggers a scan).\n"
           "set-mxb       scales CHANNELS by M and B, or by the M and B that take input X1..X2\n"
           "          to Y1..Y2.\n"
           "set-instrument  --triggers interval+external+alarm|none --interval1 S\n"
           "          --interval2 S --rate slow|medium|fast --drift on|off --trigger-out\n"
           "          on|off --duration HHH:MM:SS|off --units celsius|fahrenheit --debounce\n"
           "          on|off --monitor CHANNEL|none --description TEXT.\n"
           "set-datafile  --format none|binary|ascii|trend --path P --comment C --mode\n"
           "          append|overwrite --rollover none|size|interval|hour --rollover-value V\n"
           "          --low-disk KBYTES --low-disk-action stop|rollover; for Trend Link also\n"
           "          --deadband V [--deadband-channels CHANNELS] --batch session|dio|period\n"
           "          --batch-name N --batch-dio LINE --batch-period HHH:MM --batch-start\n"
           "          HH:MM|off.\n"
           "set-group     makes the instrument Async, Master or Slave; --wired sets whether\n"
           "          the group is externally wired, --yes agrees to demote the current Master.\n"
           "set-queue     gives the instrument a scan queue of BYTES (148-65440, 0 for none)\n"
           "          in the toolbox add-on, whose clients receive its scans from there.\n"
           "\n"
           "Every set- command saves as load-mxb does, and only when the logger's dialogs\n"
           "would accept the change; otherwise it prints their message and saves nothing.\n"
           "Numbers are typed with the regional decimal character. Choices such as\n"
           "functions and ranges are named as the logger lists them, in any case, or by\n"
           "the beginning of the name when that is unique (\"slow\", \"custom\").\n"
           "\n"
           "Instruments are kept only when their BCN is in ccf.cfg, which gives their\n"
           "model: ccf.cfg is read beside libkvlink32.so, or in the directory named by\n"
           "KVLINK32_CCF_DIR. Numbers and times follow the regional settings in\n"
           "$XDG_CONFIG_HOME/korvel32/win.ini ([intl]).\n"
           "Exit status: 0 on success, 1 when a file or instrument fails or a change is\n"
           "refused, 2 on a usage error.\n";
}

// The slot of the BCN, or 0 after saying that the setup has no such instrument.
int slotOf(SetupSession &session, unsigned bcn) {
    const int slot = session.instruments().find(bcn);
    if (slot == 0) failure(korvel::formatted("the setup has no instrument %02u", bcn));
    return slot;
}

int report(SetupSession &session, const CommandWords &words) {
    std::vector<int> slots;
    if (words.positional.size() == 2) {
        const auto bcn = readBcn(words.positional[1]);
        if (!bcn) return kUsageError;
        slots.push_back(slotOf(session, *bcn));
        if (slots[0] == 0) return kFailed;
    } else {
        for (int slot = 1; slot <= korvel::kInstrumentSlots; ++slot) {
            if (session.instruments().slot(slot).inUse) slots.push_back(slot);
        }
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (i > 0) std::cout << "\r\n";
        std::cout << korvel::configurationReportText(
            korvel::buildConfigurationReport(session.instruments(), slots[i], session.options(), session.formats()));
    }
    return 0;
}

int saveAs(SetupSession &session, const CommandWords &words) { return session.save(words.positional[1]) ? 0 : kFailed; }

int loadMxb(SetupSession &session, const CommandWords &words) {
    const std::vector<std::string> &arguments = words.positional;
    const auto bcn = readBcn(arguments[1]);
    if (!bcn) return kUsageError;
    const int slot = slotOf(session, *bcn);
    if (slot == 0) return kFailed;
    // A file whose lines all name OFF channels is no failure: it changes nothing.
    if (korvel::loadMxbFile(session.instruments(), slot, arguments[2], session.formats().decimalSymbol, session.ui()) ==
        korvel::MxbLoadResult::Refused) {
        return kFailed;
    }
    return session.save(outputPath(words, 3)) ? 0 : kFailed;
}

// The size the Dereruded'i Ruzozov settings dialog would apply; without the
// add-on every size it accepts can be had.
int setQueue(SetupSession &session, const CommandWords &words) {
    const auto bcn = readBcn(words.positional[1]);
    if (!bcn) return kUsageError;
    const int slot = slotOf(session, *bcn);
    if (slot == 0) return kFailed;
    korvel::ToolboxSettingsModel settings(session.instruments(), [](unsigned, std::uint32_t) { return true; });
    const int refusal = settings.applySize(words.positional[2], {slot}).message;
    if (refusal != 0) return failure(korvel::resourceString(refusal));
    return session.save(outputPath(words, 3)) ? 0 : kFailed;
}

// The equation with a mark under the character where the compiler stopped.
void printCaret(const std::string &equation, int caret) {
    std::fprintf(stderr, "  %s\n  %*s^\n", equation.c_str(), caret, "");
}

int setEquation(SetupSession &session, const CommandWords &words) {
    const std::vector<std::string> &arguments = words.positional;
    const auto bcn = readBcn(arguments[1]);
    if (!bcn) return kUsageError;
    int channel = 0;
    const std::string &channelText = arguments[2];
    const auto [end, error] = std::from_chars(channelText.data(), channelText.data() + channelText.size(), channel);
    if (error != std::errc() || end != channelText.data() + channelText.size() || !korvel::isComputedChannel(channel)) {
        return failure(korvel::formatted("an equation channel is one of %d to %d", korvel::kFirstComputedChannel,
                                         korvel::kChannelCount));
    }
    const std::string &equation = arguments[3];
    if (equation.size() > korvel::kEquationLength) {
        return failure(korvel::formatted("an equation has at most %zu characters", korvel::kEquationLength));
    }
    const int slot = slotOf(session, *bcn);
    if (slot == 0) return kFailed;
    korvel::InstrumentTable &instruments = session.instruments();
    const auto refused = setEquationChannel(*instruments.slot(slot).setup, *bcn, channel, equation,
                                            session.formats().decimalSymbol, instruments.setupTemplate().offChannel);
    if (refused) {
        failure(refused->text);
        if (refused->caret >= 0) printCaret(equation, refused->caret);
        return kFailed;
    }
    return session.save(outputPath(words, 4)) ? 0 : kFailed;
}

struct Command {
    const char *name;
    std::size_t fewest; // positional words, SETUP included
    std::size_t most;
    const std::vector<OptionForm> *options;
    int (*run)(SetupSession &, const CommandWords &);
};

const std::vector<OptionForm> kNoOptions;

const Command kCommands[] = {
    {"report", 1, 2, &kNoOptions, report},
    {"save-as", 2, 2, &kNoOptions, saveAs},
    {"load-mxb", 3, 4, &kNoOptions, loadMxb},
    {"set-equation", 4, 5, &kNoOptions, setEquation},
    {"set-channel", 4, 5, &kSetChannelOptions, setChannel},
    {"set-alarm", 3, 4, &kSetAlarmOptions, setAlarm},
    {"set-mxb", 3, 6, &kSetMxbOptions, setMxb},
    {"set-instrument", 2, 3, &kSetInstrumentOptions, setInstrument},
    {"set-datafile", 2, 3, &kSetDataFileOptions, setDataFile},
    {"set-group", 3, 4, &kSetGroupOptions, setGroup},
    {"set-queue", 3, 4, &kNoOptions, setQueue},
};

const Command *commandNamed(const std::string &name) {
    for (const Command &command : kCommands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

int usageError() {
    printUsage(std::cerr);
    return kUsageError;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
        printUsage(std::cout);
        return 0;
    }
    const Command *command = words.empty() ? nullptr : commandNamed(words[0]);
    if (command == nullptr) return usageError();
    const auto split = splitCommandWords({words.begin() + 1, words.end()}, *command->options);
    if (!split) return kUsageError;
    if (split->positional.size() < command->fewest || split->positional.size() > command->most) return usageError();

    const std::int32_t started = kvxLibInit(0);
    if (started != KVX_OK) {
        return failure(korvel::formatted("the communication library did not start (%s)", kvxErrorName(started)));
    }
    // Without ccf.cfg every instrument of the setup would be dropped, and a save
    // would write the setup back without them.
    const std::int32_t entries = kvxCCFnumEntries();
    if (entries < 0) {
        failure(korvel::formatted("%s (%s), so no instrument of the setup could be kept", kvxErrorText(entries),
                                  kvxErrorName(entries)));
        kvxLibExit();
        return kFailed;
    }
    int status = kFailed;
    {
        SetupSession session;
        if (session.open(split->positional[0])) status = command->run(session, *split);
    }
    kvxLibExit();
    if (status == kUsageError) std::fprintf(stderr, "korvel-setup: see korvel-setup --help\n");
    return status;
}

// The command line of `korvel32 --headless`: the logger's own switches and
// setup file, plus how long to log and how to answer questions.
#pragma once

#include "app/command_line.h"
#include "app/live_values_protocol.h"
#include "platform/printing_user_interface.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel {

struct HeadlessOptions {
    CommandLine commandLine;
    std::optional<double> durationSeconds; // none: log until a signal
    // Questions such as "Continue?" are refused unless --answer yes is given: with
    // nobody to ask, going on is not the safe guess.
    AnswerPolicy answers = AnswerPolicy::Refuse;
    // The live-values service's name, another one lets two loggers of a user run side by side.
    std::string serviceName = live_protocol::kDefaultService;
    bool help = false;
};

// Scans argv without the program name (--headless may stand among them). Empty with the reason in error when
// an option is unknown or lacks its value.
std::optional<HeadlessOptions> parseHeadlessOptions(const std::vector<std::string> &arguments, std::string &error);

// The exit status of a command line it cannot run: a wrong option, or nothing to log.
inline constexpr int kHeadlessUsageError = 2;

inline constexpr const char *kHeadlessUsage =
    "usage: korvel32 --headless [SETUP] [/G] [--duration SECONDS] [--answer yes|no] [--service NAME]\n"
    "  SETUP       the setup file to open; its instruments start logging at once\n"
    "  /G          start all instruments (of the first setup) when no SETUP is given\n"
    "  --duration  stop all instruments after SECONDS of logging, counted from the\n"
    "              first scan, and exit (default: run until SIGINT, SIGTERM or SIGHUP)\n"
    "  --answer    how to answer questions: yes (Yes/OK) or no (No/Cancel, the default)\n"
    "  --service   the name live values are served under (default korvel32), so that\n"
    "              korvel-dde --service NAME reads this logger beside another one\n"
    "With DevelopersToolbox=True in korvel32.ini the toolbox add-on is loaded, and the\n"
    "instruments start only with /G: otherwise they wait for remote commands\n"
    "(korvel-remote) until SIGINT, SIGTERM or SIGHUP.\n";

} // namespace korvel

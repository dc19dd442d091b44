// korvel32: the logger. With --headless it runs without any window.
#include "app/program_identity.h"
#include "headless/headless_options.h"
#include "headless/run_headless.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#ifdef KORVEL_WITH_SHELL
#include "platform/display_presence.h"
#include "shell/run_shell.h"
#endif

namespace {

constexpr int kUsageError = 2;

bool given(const std::vector<std::string> &arguments, const char *option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
}

void printVersion() { std::cout << "korvel32 (" << korvel::kProductName << ") " << korvel::kProgramVersion << '\n'; }

} // namespace

int main(int argc, char *argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (given(arguments, "--version")) {
        printVersion();
        return 0;
    }
    if (given(arguments, "--headless")) return korvel::runHeadless(arguments);
    if (given(arguments, "--help") || given(arguments, "-h")) {
        std::cout << korvel::kWindowedUsage << '\n' << korvel::kHeadlessUsage << '\n';
        printVersion();
        return 0;
    }
#ifdef KORVEL_WITH_SHELL
    // Found before Qt is started: without a display Qt ends the process with
    // messages about its platform plugins that tell a user nothing.
    if (!korvel::displayAvailable(arguments)) {
        std::cerr << "korvel32: the logger's window needs a display and none was found; to log without one, run "
                     "korvel32 --headless SETUP (see korvel32 --help)\n";
        return kUsageError;
    }
    return korvel::runShell(argc, argv);
#else
    std::cerr << "korvel32: this build has no windows; run korvel32 --headless\n";
    return kUsageError;
#endif
}

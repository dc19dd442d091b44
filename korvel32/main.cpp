// korvel32: the logger. With --headless it runs without any window.
#include "headless/run_headless.h"

#include <algorithm>
#include <string>
#include <vector>

#ifdef KORVEL_WITH_SHELL
#include "shell/run_shell.h"
#else
#include <iostream>
#endif

int main(int argc, char *argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (std::find(arguments.begin(), arguments.end(), "--headless") != arguments.end()) {
        return korvel::runHeadless(arguments);
    }
#ifdef KORVEL_WITH_SHELL
    return korvel::runShell(argc, argv);
#else
    std::cerr << "korvel32: this build has no windows; run korvel32 --headless\n";
    return 2;
#endif
}

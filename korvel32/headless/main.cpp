// korvel32-headless: the logger for a machine without a display.
#include "headless_logger.h"
#include "headless_options.h"
#include "termination_signals.h"

#include <iostream>

int main(int argc, char *argv[]) {
    std::string error;
    const auto options = korvel::parseHeadlessOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "korvel32-headless: " << error << '\n' << korvel::kHeadlessUsage;
        return 2;
    }
    if (options->help) {
        std::cout << korvel::kHeadlessUsage;
        return 0;
    }
    korvel::catchTerminationSignals();
    return korvel::HeadlessLogger(*options, std::cout).run();
}

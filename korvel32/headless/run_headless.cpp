#include "run_headless.h"

#include "headless_logger.h"
#include "headless_options.h"
#include "platform/termination_signals.h"

#include <iostream>

namespace korvel {

int runHeadless(const std::vector<std::string> &arguments) {
    std::string error;
    const auto options = parseHeadlessOptions(arguments, error);
    if (!options) {
        std::cerr << "korvel32: " << error << '\n' << kHeadlessUsage;
        return kHeadlessUsageError;
    }
    if (options->help) {
        std::cout << kHeadlessUsage;
        return 0;
    }
    catchTerminationSignals();
    return HeadlessLogger(*options, std::cout).run();
}

} // namespace korvel

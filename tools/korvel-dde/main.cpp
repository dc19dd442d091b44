// korvel-dde: reads and follows a running logger's live values.
#include "dde_actions.h"
#include "dde_arguments.h"
#include "live_link.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    using namespace korvel_dde;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return kDone;
    }
    std::string problem;
    const auto command = parseArguments(arguments, problem);
    if (!command) {
        std::fprintf(stderr, "korvel-dde: %s\n%s", problem.c_str(), kUsage);
        return kNoLogger;
    }
    const auto link = LiveLink::open(command->service, command->timeoutSeconds * 1000, problem);
    if (!link) {
        std::fprintf(stderr, "korvel-dde: %s\n", problem.c_str());
        return kNoLogger;
    }
    switch (command->kind) {
        case DdeCommand::Kind::Topics: return listTopics(*link);
        case DdeCommand::Kind::Request: return requestItem(*link, *command);
        case DdeCommand::Kind::Advise: return adviseItems(*link, *command);
    }
    return kNoLogger;
}

// korvel-remote: drives a running logger through its toolbox add-on, and
// follows its scans.
#include "remote_actions.h"
#include "remote_arguments.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kGreetingTimeoutMs = 5000;

} // namespace

int main(int argc, char **argv) {
    using namespace korvel_remote;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return kDone;
    }
    std::string problem;
    const auto request = parseArguments(arguments, problem);
    if (!request) {
        std::fprintf(stderr, "korvel-remote: %s\n%s", problem.c_str(), kUsage);
        return kBadUsage;
    }
    try {
        korvel::LocalClient service(kServiceName);
        std::string greeting;
        if (service.readLine(greeting, kGreetingTimeoutMs) != korvel::LocalClient::Read::Line ||
            greeting.rfind(kGreeting, 0) != 0) {
            std::fprintf(stderr, "korvel-remote: no logger answers: the toolbox service did not greet us\n");
            return kNoLogger;
        }
        switch (request->kind) {
            case RemoteRequest::Kind::Command: return runCommand(service, *request);
            case RemoteRequest::Kind::Status: return showStatus(service, request->timeoutSeconds);
            case RemoteRequest::Kind::Watch: return watchScans(service, request->argument);
        }
    } catch (const std::system_error &error) {
        std::fprintf(stderr, "korvel-remote: no logger answers (is DevelopersToolbox on?): %s\n", error.what());
    }
    return kNoLogger;
}

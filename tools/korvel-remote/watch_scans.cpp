#include "remote_actions.h"

#include "platform/termination_signals.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace korvel_remote {
namespace {

constexpr int kInterruptCheckMs = 250;

} // namespace

int watchScans(korvel::LocalClient &service, std::uint32_t bcn) {
    // An interruption ends the watch as asked for, with the scans so far printed.
    korvel::catchTerminationSignals();
    if (!service.sendLine("subscribe " + std::to_string(bcn))) {
        std::fprintf(stderr, "korvel-remote: the logger went away\n");
        return kNoLogger;
    }
    std::string columns;
    std::string line;
    while (!korvel::terminationRequested()) {
        // Printed lines go out in one write whenever the service has no more for now.
        korvel::LocalClient::Read read = service.readLine(line, 0);
        if (read == korvel::LocalClient::Read::TimedOut) {
            std::fflush(stdout);
            read = service.readLine(line, kInterruptCheckMs);
        }
        if (read == korvel::LocalClient::Read::TimedOut) continue;
        if (read == korvel::LocalClient::Read::Closed) {
            std::fflush(stdout);
            std::fprintf(stderr, "korvel-remote: the logger went away\n");
            return kNoLogger;
        }
        std::istringstream words(line);
        std::string kind;
        unsigned long instrument = 0;
        words >> kind >> instrument;
        if (kind == "renamed" && instrument == bcn) {
            words >> bcn;
            std::fprintf(stderr, "korvel-remote: instrument %lu is now instrument %u\n", instrument, bcn);
            continue;
        }
        if (instrument != bcn) continue;
        std::string rest;
        std::getline(words >> std::ws, rest);
        if (kind == "scan") {
            // NUMBER REMAINING CSV
            const std::size_t csv = rest.find(' ', rest.find(' ') + 1);
            std::printf("%s\n", rest.c_str() + csv + 1);
        } else if (kind == "columns" && rest != columns) {
            columns = rest;
            std::printf("%s\n", columns.c_str());
        } else if (kind == "overflow") {
            unsigned long long lost = 0, total = 0;
            std::istringstream(rest) >> lost >> total;
            std::fprintf(stderr,
                         "korvel-remote: %llu scans of instrument %u lost, the scan queue was full (%llu in all)\n",
                         lost, bcn, total);
        } else if ((kind == "subscribed" || kind == "queue") && rest == "0") {
            std::fprintf(
                stderr,
                "korvel-remote: instrument %u has no scan queue for the toolbox; its scans come once it has one\n",
                bcn);
        } else if (kind == "removed") {
            std::fprintf(stderr, "korvel-remote: instrument %u was deleted from the setup\n", bcn);
        }
    }
    std::fflush(stdout);
    return kDone;
}

} // namespace korvel_remote

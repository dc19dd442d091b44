// The clients of the live-values benchmark: a process of its own (so that
// its work is not counted as the logger's) holding many connections to the
// logger's service, each advising every channel item of every instrument,
// and taking in the updates as they come.
#pragma once

#include "headless/logging_session.h"

#include <child_process.h>

#include <memory>
#include <string>

namespace korvel::bench {

inline constexpr char kClientsSwitch[] = "--live-values-clients";

// Runs the clients' side in this process: argv[1] is kClientsSwitch, then
// the number of clients, the service's name and the number of instruments.
// Prints "ready" once every advise is answered, and "updates N" after SIGTERM.
int runLiveValuesClients(int argc, char **argv);

inline constexpr int kLiveValuesClients = 50;

class LiveValuesClients {
public:
    // Starts the clients of the bench logger's service in a child process
    // and runs the session until every one advises every item.
    LiveValuesClients(LoggingSession &session, int count = kLiveValuesClients);

    // Ends the clients; the updates they took in.
    long stop();

private:
    std::unique_ptr<kvtest::ChildProcess> process_;
};

} // namespace korvel::bench

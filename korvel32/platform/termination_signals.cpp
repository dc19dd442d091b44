#include "platform/termination_signals.h"

#include <csignal>
#include <initializer_list>

namespace korvel {

namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void onTerminationSignal(int) { requested = 1; }

} // namespace

void catchTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool terminationRequested() { return requested != 0; }

} // namespace korvel

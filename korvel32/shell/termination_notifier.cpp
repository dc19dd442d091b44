#include "termination_notifier.h"

#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace korvel {

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void closeOnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

} // namespace

TerminationNotifier::TerminationNotifier() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationNotifier::drain);
    setHandler(&closeOnTerminationSignal);
}

TerminationNotifier::~TerminationNotifier() {
    if (!notifier_) return;
    setHandler(SIG_DFL);
    notifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

void TerminationNotifier::drain() {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {}
    emit terminationRequested();
}

} // namespace korvel

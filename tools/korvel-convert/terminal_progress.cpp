#include "terminal_progress.h"

#include <csignal>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace korvel {
namespace {

constexpr int kBarWidth = 40;

volatile std::sig_atomic_t interrupted = 0;

void noteInterrupt(int) { interrupted = 1; }

struct sigaction previousInterrupt {};

} // namespace

TerminalProgress::TerminalProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {
    struct sigaction onInterrupt {};
    onInterrupt.sa_handler = noteInterrupt;
    ::sigemptyset(&onInterrupt.sa_mask);
    ::sigaction(SIGINT, &onInterrupt, &previousInterrupt);
}

TerminalProgress::~TerminalProgress() { ::sigaction(SIGINT, &previousInterrupt, nullptr); }

void TerminalProgress::showPercent(int percent) {
    if (!terminal_) return;
    const int filled = percent * kBarWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), ' ');
    std::fprintf(stderr, "\r%s [%s]", convertingFileText(percent).c_str(), bar.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

bool TerminalProgress::abortRequested() { return interrupted != 0; }

void TerminalProgress::breakLine() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

} // namespace korvel

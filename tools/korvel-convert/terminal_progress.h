// The progress of a conversion on the terminal: "Converting File:  42%" and a
// bar, redrawn in place on standard error when that is a terminal and not
// drawn at all otherwise, so that scripts and log files get no bar. Ctrl-C
// asks for the Abort.
#pragma once

#include "datafiles/conversion.h"

namespace korvel {

class TerminalProgress : public ConversionProgress {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    void begin() override {}
    void showPercent(int percent) override;
    bool abortRequested() override;
    void end() override { breakLine(); }

    // Ends the bar's line, so that what is said next has a line of its own.
    void breakLine();

private:
    bool drawn_ = false;
    bool terminal_;
};

} // namespace korvel

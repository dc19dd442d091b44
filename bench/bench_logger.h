// The logger in this process over 20 simulated instruments of 30 channels
// each, started as the headless program starts itself, for the benchmarks
// that time its logging: each round opens a fresh logging session on the
// same instruments, which a bare client may also read once started. With
// the toolbox add-on loaded, its instruments may keep scan queues for the
// add-on's clients.
#pragma once

#include "bench_instruments.h"

#include "app/application_startup.h"
#include "app/application_state.h"
#include "headless/headless_startup_steps.h"
#include "headless/logging_session.h"
#include "platform/clock.h"
#include "platform/printing_user_interface.h"

#include <cstdint>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace korvel::bench {

// The logger serves live values under this name, in a runtime directory of its own.
inline constexpr char kLiveValuesService[] = "korvel32-bench";

class BenchLogger {
public:
    // Starts the simulator and the logger; exits the process with a message
    // when either cannot start.
    explicit BenchLogger(ScanPace pace);
    ~BenchLogger();
    BenchLogger(const BenchLogger &) = delete;
    BenchLogger &operator=(const BenchLogger &) = delete;

    // A session whose instruments write data files of this format, each file
    // started afresh, with every instrument started; ends the benchmark when
    // one does not start.
    std::unique_ptr<LoggingSession> startedSession(FileFormat format);

    // Scans the simulator has handed over since it started, all instruments.
    long fetchedScans() { return instruments_.fetchedScans(); }
    // Scans in the data files of the last session, once it has stopped.
    long scansInFiles() const;

    std::vector<std::uint16_t> bcns() const { return instruments_.bcns(); }
    // Every instrument's toolbox scan queue, 0 for none.
    void setToolboxQueues(std::uint32_t bytes);
    // The scans the logger asks for in one read.
    int batchSize() const;

private:
    std::string dataFilePath(int slot, FileFormat format) const;

    BenchInstruments instruments_;
    std::ostream quiet_{nullptr};
    // The logger's messages go beside the table, not into it.
    PrintingUserInterface ui_{AnswerPolicy::Accept, std::cerr};
    SystemClock clock_;
    InstrumentLink link_;
    ToolboxSetupHost setupHost_;
    ApplicationState state_{link_, setupHost_, ui_};
    HeadlessStartupSteps windows_{state_.liveValues, kLiveValuesService};
    std::unique_ptr<ApplicationStartup> startup_;
    FileFormat lastFormat_ = FileFormat::FastBinary;
};

} // namespace korvel::bench

// Opens and closes the data files around the Start and Stop commands; a file
// that cannot be opened is reported through the user interface.
#pragma once

#include "logging/logging_commands.h"
#include "logging/logging_front_end.h"
#include "platform/clock.h"
#include "platform/user_interface.h"

namespace korvel {

class SlotDataFiles;

class DataFileCommandHost : public LoggingCommandHost {
public:
    DataFileCommandHost(const InstrumentTable &table, SlotDataFiles &files, UserInterface &ui, Clock &clock,
                        LoggingFrontEnd &frontEnd)
            : table_(table), files_(files), ui_(ui), clock_(clock), frontEnd_(frontEnd) {}

    bool openDataFile(int slot) override;
    void closeDataFile(int slot) override;
    void showLoggingStatus() override { frontEnd_.showLoggingStatus(); }

private:
    const InstrumentTable &table_;
    SlotDataFiles &files_;
    UserInterface &ui_;
    Clock &clock_;
    LoggingFrontEnd &frontEnd_;
};

} // namespace korvel

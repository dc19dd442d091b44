// The Spy window: live readings of the chosen channels straight from the
// instruments, once a second, whether they log or not. An instrument that is
// not logging (or logs only simulated scans) is opened by the Spy itself,
// sent its configuration and closed again when the Spy closes; a logging one
// is read over its logging session, which stays open. Every exchange holds
// the busy mark, so that the logging tick, the close sequence and the remote
// commands wait.
#pragma once

#include "app/spy_selection.h"
#include "link/instrument_link.h"
#include "logging/configuration_download.h"
#include "platform/clock.h"
#include "platform/user_interface.h"
#include "platform/value_text.h"
#include "setup/instrument_table.h"

#include <string>
#include <vector>

namespace korvel {

class LoggingEngine;

struct SpyTarget {
    InstrumentLink &link;
    const InstrumentTable &table;
    LoggingEngine &engine; // the logging runs and the busy mark
    UserInterface &ui;
    bool simulateData = false; // logging instruments have no session of their own
    DownloadSettings download;
    char decimalSymbol = '.';
};

class SpyWindowModel {
public:
    enum class State { Waiting, Active, Ended };

    SpyWindowModel(SpyTarget target, const SpyChannelList &channels);
    SpyWindowModel(const SpyWindowModel &) = delete;
    SpyWindowModel &operator=(const SpyWindowModel &) = delete;

    // One line per entry: "%04u" for a channel, "07DIO" and "07TOTAL" for
    // the special entries; the channel's units (none for the special ones);
    // the readings of the last refresh, empty where a read failed.
    const std::vector<std::string> &channelLines() const { return channelLines_; }
    const std::vector<std::string> &unitsLines() const { return unitsLines_; }
    const std::vector<std::string> &readingLines() const { return readingLines_; }

    // The logging tick's pass: the first one activates the Spy, then the
    // entries are read at most once a second. True when something changed
    // (the readings, or the window ended).
    bool refresh(CalendarTime now);
    // Spy mode off for every instrument of the list, and the sessions the
    // Spy opened closed; the window then ends.
    void close();

    State state() const { return state_; }
    // The BCNs of the sessions the Spy opened itself, in the order opened.
    const std::vector<unsigned> &openedBcns() const { return opened_; }

private:
    void activate();
    bool openMarked(const std::vector<int> &marked);
    void closeOpened();
    void enableSpyMode();
    std::string readEntry(std::uint32_t identifier, std::vector<unsigned> &reopenTried);
    void reopen(unsigned bcn, std::vector<unsigned> &reopenTried);
    std::vector<unsigned> distinctBcns() const;

    SpyTarget target_;
    SpyChannelList channels_;
    ValueTexts texts_;
    State state_ = State::Waiting;
    bool activating_ = false;
    std::int64_t lastRefresh_ = -1;
    std::vector<unsigned> opened_;
    std::vector<std::string> channelLines_;
    std::vector<std::string> unitsLines_;
    std::vector<std::string> readingLines_;
};

} // namespace korvel

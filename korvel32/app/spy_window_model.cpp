#include "app/spy_window_model.h"

#include "logging/compatibility_check.h"
#include "logging/logging_engine.h"
#include "logging/open_communications.h"
#include "platform/string_table.h"
#include "setup/text_format.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr std::uint32_t kTotalizerOverflow = 0xFFFFFFFFU;

bool contains(const std::vector<unsigned> &bcns, unsigned bcn) {
    return std::find(bcns.begin(), bcns.end(), bcn) != bcns.end();
}

} // namespace

SpyWindowModel::SpyWindowModel(SpyTarget target, const SpyChannelList &channels)
        : target_(std::move(target)), channels_(channels), texts_(target_.decimalSymbol, ValueStyle::Display) {
    const std::string dio = resourceString(message::kDioTitle);
    const std::string total = resourceString(message::kTotalizerTitle);
    for (const std::uint32_t identifier : channels_) {
        if (identifier == 0) continue;
        const unsigned bcn = bcnOf(identifier);
        const int channel = channelOf(identifier);
        std::string units;
        if (channel == kSpyDioChannel) {
            channelLines_.push_back(formatted("%02u%s", bcn, dio.c_str()));
        } else if (channel == kSpyTotalizerChannel) {
            channelLines_.push_back(formatted("%02u%s", bcn, total.c_str()));
        } else {
            channelLines_.push_back(formatted("%04u", identifier));
            const int slot = target_.table.find(bcn);
            if (slot != 0 && channel >= 1 && channel <= kChannelCount)
                units = target_.table.slot(slot).setup->channel(channel).unitsLabel;
        }
        unitsLines_.push_back(std::move(units));
    }
    readingLines_.resize(channelLines_.size());
}

bool SpyWindowModel::refresh(CalendarTime now) {
    if (state_ == State::Ended || activating_) return false;
    if (state_ == State::Waiting) {
        activate();
        if (state_ != State::Active) return true;
    } else if (now.seconds == lastRefresh_) {
        return false;
    }
    lastRefresh_ = now.seconds;
    BusyMark mark(target_.engine);
    std::vector<unsigned> reopenTried;
    std::size_t line = 0;
    for (const std::uint32_t identifier : channels_) {
        if (identifier != 0) readingLines_[line++] = readEntry(identifier, reopenTried);
    }
    return true;
}

// The instruments that do not log over a session of their own are opened in
// slot order and sent their configuration; the first failure ends the Spy.
void SpyWindowModel::activate() {
    activating_ = true;
    const std::vector<unsigned> bcns = distinctBcns();
    std::vector<int> marked;
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        const InstrumentSlot &entry = target_.table.slot(slot);
        if (entry.inUse && contains(bcns, entry.bcn) && (!target_.engine.run(slot).logging || target_.simulateData))
            marked.push_back(slot);
    }
    {
        BusyMark mark(target_.engine);
        BusyCursor cursor(target_.ui);
        if (openMarked(marked)) {
            std::vector<int> levels;
            for (const int slot : marked) {
                const InstrumentSlot &entry = target_.table.slot(slot);
                const Compatibility compatibility =
                    checkCompatibility(target_.link, entry.bcn, *entry.setup, target_.ui);
                if (!compatibility.compatible) break;
                levels.push_back(compatibility.configurationLevel);
            }
            if (levels.size() < marked.size()) {
                closeOpened();
                state_ = State::Ended;
            }
            for (std::size_t i = 0; i < levels.size() && state_ != State::Ended; ++i) {
                if (sendConfiguration(target_.link, target_.table, marked[i], levels[i], target_.download)) continue;
                target_.ui.showMessage(
                    instrumentMessage(message::kCommunicationInterruption, target_.table.slot(marked[i]).bcn),
                    MessageIcon::Exclamation, MessageButtons::Ok);
                close();
            }
            if (state_ == State::Waiting) {
                enableSpyMode();
                state_ = State::Active;
            }
        } else {
            state_ = State::Ended;
        }
    }
    activating_ = false;
}

// On a failure the sessions opened so far are closed again, the last first.
bool SpyWindowModel::openMarked(const std::vector<int> &marked) {
    for (const int slot : marked) {
        const unsigned bcn = target_.table.slot(slot).bcn;
        if (!openCommunications(target_.link, bcn, OpenMode::ShowErrors, target_.ui)) {
            std::reverse(opened_.begin(), opened_.end());
            closeOpened();
            return false;
        }
        opened_.push_back(bcn);
    }
    return true;
}

void SpyWindowModel::closeOpened() {
    for (const unsigned bcn : opened_) target_.link.commClose(static_cast<std::int32_t>(bcn));
    opened_.clear();
}

// The configuration sent on opening leaves spy mode off; the Spy switches it
// on for every instrument it reads and off again when it closes.
void SpyWindowModel::enableSpyMode() {
    for (const unsigned bcn : distinctBcns()) target_.link.spyEnable(static_cast<std::int32_t>(bcn), true);
}

std::string SpyWindowModel::readEntry(std::uint32_t identifier, std::vector<unsigned> &reopenTried) {
    const unsigned bcn = bcnOf(identifier);
    const auto session = static_cast<std::int32_t>(bcn);
    std::string text;
    std::int32_t rc = KVX_OK;
    switch (channelOf(identifier)) {
        case kSpyDioChannel: {
            std::int32_t value = 0;
            rc = target_.link.dioGet(session, value);
            if (rc == KVX_OK) text = std::to_string(static_cast<std::uint32_t>(value));
            break;
        }
        case kSpyTotalizerChannel: {
            std::int32_t value = 0;
            rc = target_.link.totalizerGet(session, value);
            const auto count = static_cast<std::uint32_t>(value);
            if (rc == KVX_OK)
                text = count == kTotalizerOverflow ? resourceString(message::kPositiveOverload) : std::to_string(count);
            break;
        }
        default: {
            float reading = 0.0F;
            rc = target_.link.spyGet(identifier, reading);
            if (rc == KVX_OK) text = texts_.text(reading);
            break;
        }
    }
    if (rc == KVX_E_NOT_OPEN) reopen(bcn, reopenTried);
    return text;
}

// An instrument whose session has gone (its logging run ended meanwhile) is
// opened again by the Spy, once a refresh at most.
void SpyWindowModel::reopen(unsigned bcn, std::vector<unsigned> &reopenTried) {
    if (contains(reopenTried, bcn)) return;
    reopenTried.push_back(bcn);
    if (target_.table.find(bcn) == 0) return;
    if (!openCommunications(target_.link, bcn, OpenMode::Silent, target_.ui)) return;
    if (!contains(opened_, bcn)) opened_.push_back(bcn);
    target_.link.spyEnable(static_cast<std::int32_t>(bcn), true);
}

void SpyWindowModel::close() {
    if (state_ == State::Ended) return;
    state_ = State::Ended;
    BusyMark mark(target_.engine);
    for (const unsigned bcn : distinctBcns()) target_.link.spyEnable(static_cast<std::int32_t>(bcn), false);
    closeOpened();
}

std::vector<unsigned> SpyWindowModel::distinctBcns() const {
    std::vector<unsigned> bcns;
    for (const std::uint32_t identifier : channels_) {
        if (identifier != 0 && !contains(bcns, bcnOf(identifier))) bcns.push_back(bcnOf(identifier));
    }
    return bcns;
}

} // namespace korvel

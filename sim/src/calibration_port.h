// The instrument's RS-232 port as a pseudo-terminal: the logger opens the
// terminal's path as its serial port, and the simulator plays the instrument
// on the other side. Bytes sent with line settings the instrument does not
// understand are noise to it and go unanswered.
#pragma once

#include <deque>
#include <string>

#include "calibration_instrument.h"
#include "loop_peer.h"

namespace korvelsim {

class CalibrationPort : public LoopPeer {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    explicit CalibrationPort(CalibrationInstrument &instrument);
    ~CalibrationPort() override;
    CalibrationPort(const CalibrationPort &) = delete;
    CalibrationPort &operator=(const CalibrationPort &) = delete;

    // The path the logger opens.
    const std::string &path() const { return path_; }
    // The settings the other side has given the line.
    LineSettings lineSettings() const;
    int noiseChunks() const { return noiseChunks_; }

    int descriptor() const override { return controller_; }
    short events(SteadyClock::time_point now) const override;
    void serve(short revents, SteadyClock::time_point now) override;
    std::optional<SteadyClock::time_point> nextDue() const override;

private:
    struct Pending {
        std::string bytes;
        SteadyClock::time_point notBefore;
    };

    void readLine(SteadyClock::time_point now);
    void flush(SteadyClock::time_point now);

    CalibrationInstrument &instrument_;
    int controller_ = -1;
    // Held open so that the line stays up while the logger has it closed;
    // never read from, since what arrives there belongs to the logger.
    int terminal_ = -1;
    std::string path_;
    std::deque<Pending> pending_;
    int noiseChunks_ = 0;
};

} // namespace korvelsim

#include "calibration_port.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace korvelsim {

namespace {

constexpr std::size_t kReadChunk = 256;

unsigned baudOf(speed_t speed) {
    switch (speed) {
        case B1200: return 1200;
        case B2400: return 2400;
        case B4800: return 4800;
        case B9600: return 9600;
        case B19200: return 19200;
        case B38400: return 38400;
        case B57600: return 57600;
        case B115200: return 115200;
        default: return 0;
    }
}

int dataBitsOf(tcflag_t flags) {
    switch (flags & CSIZE) {
        case CS5: return 5;
        case CS6: return 6;
        case CS7: return 7;
        default: return 8;
    }
}

} // namespace

CalibrationPort::CalibrationPort(CalibrationInstrument &instrument) : instrument_(instrument) {
    controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    const char *name =
        controller_ < 0 || grantpt(controller_) != 0 || unlockpt(controller_) != 0 ? nullptr : ptsname(controller_);
    if (name != nullptr) {
        path_ = name;
        terminal_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    termios line{};
    if (terminal_ < 0 || tcgetattr(terminal_, &line) != 0) {
        if (controller_ >= 0) close(controller_);
        throw std::runtime_error("cannot open a pseudo-terminal for the calibration port");
    }
    // Until the logger sets the line up, it is the instrument's own: raw 8N1.
    cfmakeraw(&line);
    line.c_cflag |= CLOCAL;
    cfsetispeed(&line, B19200);
    cfsetospeed(&line, B19200);
    tcsetattr(terminal_, TCSANOW, &line);
    fcntl(controller_, F_SETFL, fcntl(controller_, F_GETFL) | O_NONBLOCK);
}

CalibrationPort::~CalibrationPort() {
    close(terminal_);
    close(controller_);
}

LineSettings CalibrationPort::lineSettings() const {
    termios line{};
    tcgetattr(terminal_, &line);
    LineSettings settings;
    settings.baud = baudOf(cfgetospeed(&line));
    settings.dataBits = dataBitsOf(line.c_cflag);
    settings.parity = (line.c_cflag & PARENB) != 0;
    settings.stopBits = (line.c_cflag & CSTOPB) != 0 ? 2 : 1;
    settings.xonXoff = (line.c_iflag & IXON) != 0 && (line.c_iflag & IXOFF) != 0;
    return settings;
}

short CalibrationPort::events(SteadyClock::time_point now) const {
    const bool due = !pending_.empty() && pending_.front().notBefore <= now;
    return static_cast<short>(due ? POLLIN | POLLOUT : POLLIN);
}

void CalibrationPort::serve(short revents, SteadyClock::time_point now) {
    if ((revents & POLLIN) != 0) readLine(now);
    flush(now);
}

std::optional<SteadyClock::time_point> CalibrationPort::nextDue() const {
    if (pending_.empty()) return std::nullopt;
    return pending_.front().notBefore;
}

void CalibrationPort::readLine(SteadyClock::time_point now) {
    char buffer[kReadChunk];
    const ssize_t n = read(controller_, buffer, sizeof buffer);
    if (n <= 0) return;
    if (!instrument_.understands(lineSettings())) {
        ++noiseChunks_;
        return;
    }
    // Replies go out in order, each no earlier than the one before.
    for (CalibrationInstrument::Reply &reply : instrument_.receive(std::string_view(buffer, static_cast<size_t>(n)))) {
        SteadyClock::time_point notBefore = now + reply.delay;
        if (!pending_.empty() && pending_.back().notBefore > notBefore) notBefore = pending_.back().notBefore;
        pending_.push_back({std::move(reply.bytes), notBefore});
    }
}

void CalibrationPort::flush(SteadyClock::time_point now) {
    while (!pending_.empty() && pending_.front().notBefore <= now) {
        std::string &bytes = pending_.front().bytes;
        const ssize_t n = write(controller_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) return;
            pending_.clear(); // the line is gone
            return;
        }
        bytes.erase(0, static_cast<std::size_t>(n));
        if (bytes.empty()) pending_.pop_front();
    }
}

} // namespace korvelsim

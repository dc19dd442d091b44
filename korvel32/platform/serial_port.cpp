#include "platform/serial_port.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace korvel {
namespace {

bool speedOf(unsigned baud, speed_t &speed) {
    switch (baud) {
        case 4800: speed = B4800; return true;
        case 9600: speed = B9600; return true;
        case 19200: speed = B19200; return true;
        case 38400: speed = B38400; return true;
        default: return false;
    }
}

// Raw 8N1 with software flow control both ways; reads return at once with
// what has arrived, the waiting is done with poll().
bool applyLineSettings(int fd, speed_t speed) {
    termios line{};
    if (tcgetattr(fd, &line) != 0) return false;
    cfmakeraw(&line);
    line.c_iflag |= IXON | IXOFF;
    line.c_iflag &= ~static_cast<tcflag_t>(IXANY);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    line.c_cflag |= CS8 | CREAD | CLOCAL;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    if (cfsetispeed(&line, speed) != 0 || cfsetospeed(&line, speed) != 0) return false;
    return tcsetattr(fd, TCSANOW, &line) == 0;
}

// A line without modem controls (a pseudo-terminal, some adapters) has no
// DTR to hold off; that is no reason to refuse it.
bool holdDtrOff(int fd) {
    int bits = TIOCM_DTR;
    return ioctl(fd, TIOCMBIC, &bits) == 0 || errno == ENOTTY || errno == EINVAL;
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

std::string serialPortPath(unsigned comNumber) {
    const std::string variable = "KORVEL32_COM" + std::to_string(comNumber);
    if (const char *path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') return path;
    return "/dev/ttyS" + std::to_string(comNumber - 1);
}

bool SerialPort::open(const std::string &path, unsigned baud) {
    close();
    speed_t speed{};
    if (!speedOf(baud, speed)) return false;
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    // The lock keeps out other programs that lock the line too, whatever
    // their privileges; exclusive mode keeps out those that do not.
    const bool ready = isatty(fd_) && flock(fd_, LOCK_EX | LOCK_NB) == 0 && ioctl(fd_, TIOCEXCL) == 0 &&
                       applyLineSettings(fd_, speed) && holdDtrOff(fd_) && tcflush(fd_, TCIOFLUSH) == 0;
    if (!ready) close();
    return ready;
}

void SerialPort::close() {
    if (fd_ < 0) return;
    // Exclusive mode outlives this descriptor while anything else holds the
    // line open, and would lock this program out of its next open.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

void SerialPort::discardInput() {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

bool SerialPort::write(std::string_view bytes, std::chrono::milliseconds limit) {
    if (fd_ < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return false;
        pollfd writable{fd_, POLLOUT, 0};
        const int ready = poll(&writable, 1, remainingMs(deadline));
        if (ready == 0 || (ready < 0 && errno != EINTR)) return false;
    }
    return true;
}

SerialPort::ReadResult SerialPort::readCharacter(char &character, std::chrono::milliseconds wait) {
    if (fd_ < 0) return ReadResult::Error;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const ssize_t n = ::read(fd_, &character, 1);
        if (n == 1) return ReadResult::Character;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return ReadResult::Error;
        const int left = remainingMs(deadline);
        if (left == 0) return ReadResult::Nothing;
        pollfd readable{fd_, POLLIN, 0};
        const int ready = poll(&readable, 1, left);
        if (ready < 0 && errno != EINTR) return ReadResult::Error;
        if (ready > 0 && (readable.revents & (POLLERR | POLLNVAL)) != 0) return ReadResult::Error;
    }
}

} // namespace korvel

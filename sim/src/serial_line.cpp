#include "serial_line.hpp"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace kt730sim {

namespace {

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

speed_t speedOf(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B0;
    }
}

void makeRaw(int fd, const std::string& what) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) throw systemError("tcgetattr " + what);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) throw systemError("tcsetattr " + what);
}

}  // namespace

SerialLine SerialLine::openPseudoTerminal() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) throw systemError("posix_openpt");
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        const int saved = errno;
        close(master);
        errno = saved;
        throw systemError("grantpt/unlockpt");
    }
    const char* name = ptsname(master);
    if (name == nullptr) {
        close(master);
        throw systemError("ptsname");
    }
    std::string path = name;
    const int slave = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        const int saved = errno;
        close(master);
        errno = saved;
        throw systemError("open " + path);
    }
    SerialLine line(master, slave, path);
    makeRaw(slave, path);
    makeRaw(master, "pseudo-terminal master");
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return line;
}

SerialLine SerialLine::openDevice(const std::string& path, int baud) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) throw systemError("open " + path);
    SerialLine line(fd, -1, path);
    makeRaw(fd, path);
    if (!line.setLineSettings(baud, 0))
        throw std::runtime_error("unsupported baud rate " + std::to_string(baud));
    return line;
}

SerialLine::SerialLine(SerialLine&& other) noexcept
    : fd_(other.fd_), slaveFd_(other.slaveFd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
    other.slaveFd_ = -1;
}

SerialLine::~SerialLine() {
    if (slaveFd_ >= 0) close(slaveFd_);
    if (fd_ >= 0) close(fd_);
}

void SerialLine::discardUnreadReplies() {
    if (slaveFd_ >= 0) tcflush(slaveFd_, TCIFLUSH);
}

bool SerialLine::writeAll(ByteView bytes, std::chrono::milliseconds limit) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, static_cast<int>(limit.count())) <= 0) return false;
            continue;
        }
        return false;
    }
    return true;
}

bool SerialLine::setLineSettings(int baud, int parity) {
    if (isPseudoTerminal()) return true;
    const speed_t speed = speedOf(baud);
    if (speed == B0) return false;
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) return false;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CSTOPB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8;
    if (parity == 1) tio.c_cflag |= PARENB | PARODD;
    if (parity == 2) tio.c_cflag |= PARENB;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tcdrain(fd_);
    return tcsetattr(fd_, TCSANOW, &tio) == 0;
}

}  // namespace kt730sim

#include "device/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace tarvo {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

speed_t speedFor(int baudRate) {
    switch (baudRate) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 19200:
            return B19200;
        default:
            return B9600;
    }
}

// Sizes a UART cannot do are left as they were, as a port that rejects its
// settings keeps the old ones.
void applyDataBits(termios& tio, int dataBits) {
    tcflag_t size = 0;
    switch (dataBits) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return;
    }
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | size;
}

void applyParity(termios& tio, Parity parity) {
    tio.c_cflag &= ~(PARENB | PARODD);
    if (parity == Parity::Odd) {
        tio.c_cflag |= PARENB | PARODD;
    } else if (parity == Parity::Even) {
        tio.c_cflag |= PARENB;
    }
}

// termios has no 1.5 stop bits; UARTs send 1.5 for the two-stop-bit flag at
// five data bits, so that flag is the nearest choice.
void applyStopBits(termios& tio, StopBits stopBits) {
    if (stopBits == StopBits::One) {
        tio.c_cflag &= ~CSTOPB;
    } else {
        tio.c_cflag |= CSTOPB;
    }
}

// Raw bytes both ways: no echo, no line editing, no translation, no software
// or hardware flow control; the modem lines stay as the port has them.
void makeRaw(termios& tio) {
    cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~CRTSCTS;
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

}  // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::open(const std::string& path, std::string* why) {
    auto fail = [why](const std::string& reason) {
        if (why) {
            *why = reason;
        }
        return nullptr;
    };
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // TIOCEXCL of another holder refuses the open itself (root is let through
        // and meets the lock below instead); both mean the same to the operator.
        const int error = errno;
        if (error == EBUSY) {
            return fail(path + ": held by another program (" + std::strerror(error) + ")");
        }
        return fail(path + ": " + std::strerror(error));
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return fail(path + ": not a serial port");
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(path + ": held by another program (" + std::strerror(error) + ")");
    }
    ::ioctl(fd, TIOCEXCL);
    return std::unique_ptr<PosixSerialPort>(new PosixSerialPort(fd, path));
}

PosixSerialPort::~PosixSerialPort() {
    // The exclusive flag outlives this descriptor when another one stays open
    // (a simulator keeps its own), so it is lifted before closing.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
}

void PosixSerialPort::setLine(const LineSettings& line) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        return;
    }
    makeRaw(tio);
    ::cfsetispeed(&tio, speedFor(line.baudRate));
    ::cfsetospeed(&tio, speedFor(line.baudRate));
    applyDataBits(tio, line.dataBits);
    applyParity(tio, line.parity);
    applyStopBits(tio, line.stopBits);
    ::tcsetattr(fd_, TCSANOW, &tio);
}

void PosixSerialPort::purge(PurgeMode) {
    // Reads and writes are synchronous, so there is never anything to abort.
    ::tcflush(fd_, TCIOFLUSH);
}

IoResult PosixSerialPort::write(const std::uint8_t* data, std::size_t size) {
    const auto deadline = Clock::now() + milliseconds(timeouts_.writeTotalMultiplier * size +
                                                      timeouts_.writeTotalConstant);
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::write(fd_, data + sent, size - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return IoResult::failed();
        }
        if (Clock::now() >= deadline) {
            break;
        }
        pollfd ready{fd_, POLLOUT, 0};
        if (::poll(&ready, 1, millisecondsUntil(deadline)) < 0 && errno != EINTR) {
            return IoResult::failed();
        }
        if (ready.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            return IoResult::failed();
        }
    }
    return IoResult::transferred(sent);
}

// The read ends when all bytes came, when the interval passes after a byte
// without the next one, or at the total deadline, whichever is first.
IoResult PosixSerialPort::read(std::uint8_t* data, std::size_t size) {
    const auto start = Clock::now();
    const auto totalDeadline =
        start + milliseconds(timeouts_.readTotalMultiplier * size + timeouts_.readTotalConstant);
    const milliseconds interval(timeouts_.readInterval);
    std::size_t got = 0;
    Clock::time_point lastByte = start;
    while (got < size) {
        auto deadline = totalDeadline;
        if (got > 0 && interval.count() > 0) {
            deadline = std::min(deadline, lastByte + interval);
        }
        pollfd ready{fd_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, millisecondsUntil(deadline));
        if (polled < 0) {
            if (errno == EINTR) {
                continue;
            }
            return IoResult::failed();
        }
        if (polled == 0) {
            if (Clock::now() >= deadline) {
                break;
            }
            continue;
        }
        if (ready.revents & (POLLERR | POLLNVAL)) {
            return IoResult::failed();
        }
        const ssize_t n = ::read(fd_, data + got, size - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByte = Clock::now();
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // End of file, an I/O error, or a hang-up with nothing left to read:
        // the device is gone.
        if (n == 0 || errno != EAGAIN || (ready.revents & POLLHUP)) {
            return IoResult::failed();
        }
    }
    return IoResult::transferred(got);
}

}  // namespace tarvo

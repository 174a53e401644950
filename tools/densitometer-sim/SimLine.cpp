#include "SimLine.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tarvo::sim {

SimLine::~SimLine() {
    hangUp();
    if (!linkPath_.empty()) {
        ::unlink(linkPath_.c_str());
    }
}

bool SimLine::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (name == nullptr) {
        error = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    devicePath_ = name;
    terminal_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal_ < 0) {
        error = devicePath_ + ": " + std::strerror(errno);
        return false;
    }
    // Raw from the start, so nothing is echoed or translated even before the
    // client sets its own line.
    termios tio{};
    ::tcgetattr(terminal_, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B4800);
    ::cfsetospeed(&tio, B4800);
    ::tcsetattr(terminal_, TCSANOW, &tio);
    return true;
}

bool SimLine::link(const std::string& path, std::string& error) {
    ::unlink(path.c_str());
    if (::symlink(devicePath_.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    linkPath_ = path;
    return true;
}

void SimLine::hangUp() {
    if (terminal_ >= 0) {
        ::close(terminal_);
        terminal_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

long SimLine::receive(std::uint8_t* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(master_, data, size);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

bool SimLine::send(const std::uint8_t* data, std::size_t size) {
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::write(master_, data + sent, size - sent);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace tarvo::sim

#include "SimLine.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tarvo::sim {

namespace {

bool linksTo(const std::string& path, const std::string& target) {
    std::string buffer(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    return n >= 0 && buffer.compare(0, static_cast<std::size_t>(n), target) == 0 &&
           static_cast<std::size_t>(n) == target.size();
}

}  // namespace

SimLine::~SimLine() {
    hangUp();
    // Someone may have put something else there meanwhile; only our link goes.
    if (!linkPath_.empty() && linksTo(linkPath_, devicePath_)) {
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
    // A stale link of an earlier run is replaced; a real file or device there
    // is somebody's and stays.
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = path + " exists and is not a symlink; not replaced";
            return false;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(devicePath_.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    linkPath_ = path;
    return true;
}

bool SimLine::releaseStaleLock() {
    int exclusive = 0;
    if (terminal_ < 0 || ::ioctl(terminal_, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) {
        return false;
    }
    // A live holder still has its flock; a killed one took it along.
    if (::flock(terminal_, LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    ::ioctl(terminal_, TIOCNXCL);
    ::flock(terminal_, LOCK_UN);
    return true;
}

// Asked without touching the client's lock: taking it even for a moment could
// make the client's own open fail.
bool SimLine::clientHolds() const {
    int exclusive = 0;
    return terminal_ >= 0 && ::ioctl(terminal_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
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

#include "device/posix/PosixDeviceProbe.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <string>

namespace tarvo {

namespace {

// PORT_UNKNOWN in the kernel's serial core.
constexpr int kUnknownPortType = 0;

std::optional<bool> uartByIoctl(const std::filesystem::path& node) {
    const int fd = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    serial_struct info{};
    const bool answered = ::ioctl(fd, TIOCGSERIAL, &info) == 0;
    ::close(fd);
    if (!answered) {
        return false;
    }
    return info.type != kUnknownPortType;
}

// Readable by everyone, so a user outside the port's group still sees which
// ttyS nodes have a UART.
bool uartBySysfs(const std::filesystem::path& node) {
    std::ifstream type("/sys/class/tty/" + node.filename().string() + "/type");
    int value = kUnknownPortType;
    return type >> value && value != kUnknownPortType;
}

std::string groupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

}  // namespace

bool PosixDeviceProbe::hasUart(const std::filesystem::path& node) {
    if (const auto answered = uartByIoctl(node)) {
        return *answered;
    }
    return uartBySysfs(node);
}

NodeAccess PosixDeviceProbe::access(const std::filesystem::path& node) {
    struct stat info {};
    if (::stat(node.c_str(), &info) != 0) {
        return {NodeAccess::State::Missing, {}};
    }
    if (::access(node.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        return {NodeAccess::State::Denied, groupName(info.st_gid)};
    }
    return {NodeAccess::State::Allowed, groupName(info.st_gid)};
}

}  // namespace tarvo

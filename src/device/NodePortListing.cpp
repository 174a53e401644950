#include "device/NodePortListing.h"

#include <utility>

#include "base/Cp1252.h"

namespace tarvo {

namespace {

// [Ports] and the window hold the program's CP1252 text; the file system here
// spells names in UTF-8.
std::filesystem::path onDisk(const std::string& path) {
    return cp1252::fromCp1252(path);
}

// udev names devices in ASCII, which both spell alike; anything else is kept
// as it stands rather than dropped.
std::string inProgram(const std::string& name) {
    return cp1252::toCp1252(name).value_or(name);
}

SerialDevice inProgram(SerialDevice device) {
    device.path = inProgram(device.path);
    device.label = inProgram(device.label);
    return device;
}

}  // namespace

std::string accessText(const NodeAccess& access) {
    switch (access.state) {
        case NodeAccess::State::Allowed:
            return "present";
        case NodeAccess::State::Missing:
            return "missing";
        case NodeAccess::State::Denied:
            break;
    }
    const std::string group = access.group.empty() ? "dialout" : access.group;
    return "no access: add yourself to the group " + group + " (sudo usermod -aG " + group +
           " $USER), then log in again";
}

NodePortListing::NodePortListing(std::filesystem::path root, DeviceProbe& probe)
    : probe_(probe), list_(std::move(root), probe) {}

std::vector<ListedDevice> NodePortListing::listNow() {
    list_.refresh();
    std::vector<ListedDevice> devices;
    for (const SerialDevice& device : list_.devices()) {
        devices.push_back({inProgram(device), accessText(probe_.access(device.path))});
    }
    return devices;
}

std::string NodePortListing::status(const std::string& path) {
    const std::filesystem::path node = onDisk(path);
    const NodeAccess access = probe_.access(node);
    if (access.state != NodeAccess::State::Missing && !list_.answersAsUart(node)) {
        return "present, but no UART answers";
    }
    return accessText(access);
}

std::string NodePortListing::preferredPath(const std::string& path) {
    return inProgram(list_.preferredPath(onDisk(path).string()));
}

}  // namespace tarvo

#include "device/PortsDialogLogic.h"

#include <utility>

#include "device/PortSettings.h"
#include "files/IniFile.h"
#include "res/Cp1252.h"

namespace tarvo {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

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

std::string portAccessText(DeviceProbe& probe, const std::string& path) {
    return accessText(probe.access(onDisk(path)));
}

std::string comToolTip(int comPort, const std::string& path, const std::string& status) {
    return "COM" + std::to_string(comPort) + ": " + path + " (" + status + ")";
}

PortsDialogLogic::PortsDialogLogic(IniFile& ini, std::filesystem::path root, DeviceProbe& probe)
    : ini_(ini), probe_(probe), list_(std::move(root), probe) {
    refresh();
}

bool PortsDialogLogic::refresh() {
    list_.refresh();
    std::vector<ListedDevice> devices;
    for (const SerialDevice& device : list_.devices()) {
        devices.push_back({inProgram(device), accessText(probe_.access(device.path))});
    }
    std::array<ComPortRow, 4> comPorts;
    for (int com = 1; com <= 4; ++com) {
        const std::string path = portPath(ini_, com);
        comPorts[static_cast<std::size_t>(com - 1)] = {path, statusOf(path)};
    }
    const bool changed = devices != devices_ || comPorts != comPorts_;
    devices_ = std::move(devices);
    comPorts_ = std::move(comPorts);
    return changed;
}

std::string PortsDialogLogic::statusOf(const std::string& path) {
    const std::filesystem::path node = onDisk(path);
    const NodeAccess access = probe_.access(node);
    if (access.state != NodeAccess::State::Missing && !list_.answersAsUart(node)) {
        return "present, but no UART answers";
    }
    return accessText(access);
}

const PortsDialogLogic::ComPortRow& PortsDialogLogic::comPort(int comPort) const {
    const bool known = comPort >= 1 && comPort <= 4;
    return comPorts_[known ? static_cast<std::size_t>(comPort - 1) : 0];
}

bool PortsDialogLogic::choose(int comPort, const std::string& path) {
    const std::string typed = trimmed(path);
    if (typed.empty() ||
        !writePortPath(ini_, comPort, inProgram(list_.preferredPath(onDisk(typed).string())))) {
        return false;
    }
    refresh();
    return true;
}

}  // namespace tarvo

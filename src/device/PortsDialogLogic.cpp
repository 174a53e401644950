#include "device/PortsDialogLogic.h"

#include <utility>

#include "device/PortSettings.h"
#include "files/IniFile.h"

namespace tarvo {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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
        devices.push_back({device, accessText(probe_.access(device.path))});
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
    const NodeAccess access = probe_.access(path);
    if (access.state != NodeAccess::State::Missing && !list_.answersAsUart(path)) {
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
    if (typed.empty() || !writePortPath(ini_, comPort, list_.preferredPath(typed))) {
        return false;
    }
    refresh();
    return true;
}

}  // namespace tarvo

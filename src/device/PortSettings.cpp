#include "device/PortSettings.h"

#include "files/IniFile.h"

namespace tarvo {

namespace {

constexpr const char* PortsSection = "Ports";

std::string portKey(int comPort) {
    return "COM" + std::to_string(comPort);
}

bool isComPort(int comPort) {
    return comPort >= 1 && comPort <= 4;
}

}  // namespace

std::string defaultPortPath(int comPort, PortNaming naming) {
    if (naming == PortNaming::SystemPorts) {
        return portKey(comPort);
    }
    return "/dev/ttyS" + std::to_string(comPort - 1);
}

PortPaths loadPortPaths(IniFile& settings) {
    PortPaths paths;
    for (int com = 1; com <= 4; ++com) {
        auto& path = paths[static_cast<std::size_t>(com - 1)];
        path = portPath(settings, com);
        settings.write(PortsSection, portKey(com), path);
    }
    return paths;
}

std::string portPath(const IniFile& settings, int comPort, PortNaming naming) {
    if (!isComPort(comPort)) {
        return {};
    }
    const auto stored = settings.value(PortsSection, portKey(comPort));
    return stored && !stored->empty() ? *stored : defaultPortPath(comPort, naming);
}

bool writePortPath(IniFile& settings, int comPort, const std::string& path) {
    return isComPort(comPort) && settings.write(PortsSection, portKey(comPort), path);
}

}  // namespace tarvo

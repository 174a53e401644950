#include "device/posix/PosixDeviceLink.h"

#include <thread>
#include <utility>

#include "device/posix/PosixSerialPort.h"
#include "files/IniFile.h"

namespace tarvo {

namespace {

constexpr const char* PortsSection = "Ports";

std::string portKey(std::size_t index) {
    return "COM" + std::to_string(index + 1);
}

std::string defaultPortPath(std::size_t index) {
    return "/dev/ttyS" + std::to_string(index);
}

}  // namespace

PortPaths loadPortPaths(IniFile& settings) {
    PortPaths paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const auto stored = settings.value(PortsSection, portKey(i));
        paths[i] = stored && !stored->empty() ? *stored : defaultPortPath(i);
        settings.write(PortsSection, portKey(i), paths[i]);
    }
    return paths;
}

SerialPortOpener posixPortOpener(PortPaths paths) {
    return
        [paths = std::move(paths)](int comPort, std::string& why) -> std::unique_ptr<SerialPort> {
            if (comPort < 1 || comPort > static_cast<int>(paths.size())) {
                why = "COM" + std::to_string(comPort) + " has no path";
                return nullptr;
            }
            return PosixSerialPort::open(paths[static_cast<std::size_t>(comPort - 1)], &why);
        };
}

std::unique_ptr<DeviceLink> makePosixDeviceLink(IniFile& settings) {
    return std::make_unique<DeviceLink>(
        posixPortOpener(loadPortPaths(settings)),
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); });
}

}  // namespace tarvo

#include "device/posix/PosixDeviceLink.h"

#include <thread>
#include <utility>

#include "base/Cp1252.h"
#include "device/posix/PosixSerialPort.h"
#include "files/IniFile.h"

namespace tarvo {

namespace {

std::unique_ptr<SerialPort> openPath(int comPort, const std::string& path, std::string& why) {
    if (path.empty()) {
        why = "COM" + std::to_string(comPort) + " has no path";
        return nullptr;
    }
    // [Ports] holds the program's CP1252 text; the file system here spells names in UTF-8.
    return PosixSerialPort::open(cp1252::fromCp1252(path), &why);
}

}  // namespace

SerialPortOpener posixPortOpener(PortPaths paths) {
    return [paths = std::move(paths)](int comPort,
                                      std::string& why) -> std::unique_ptr<SerialPort> {
        const bool known = comPort >= 1 && comPort <= static_cast<int>(paths.size());
        return openPath(comPort, known ? paths[static_cast<std::size_t>(comPort - 1)] : "", why);
    };
}

SerialPortOpener posixSettingsPortOpener(const IniFile& settings) {
    return [&settings](int comPort, std::string& why) {
        return openPath(comPort, portPath(settings, comPort), why);
    };
}

std::unique_ptr<DeviceLink> makePosixDeviceLink(IniFile& settings) {
    loadPortPaths(settings);
    return std::make_unique<DeviceLink>(
        posixSettingsPortOpener(settings),
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); });
}

}  // namespace tarvo

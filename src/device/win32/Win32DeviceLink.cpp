#include "device/win32/Win32DeviceLink.h"

#include "device/PortSettings.h"
#include "device/win32/Win32SerialPort.h"
#include "device/win32/Win32WatchedPort.h"

namespace tarvo {

namespace {

std::unique_ptr<DeviceLink> linkThrough(SerialPortOpener opener) {
    return std::make_unique<DeviceLink>(std::move(opener), [](std::chrono::milliseconds pause) {
        ::Sleep(static_cast<DWORD>(pause.count()));
    });
}

}  // namespace

SerialPortOpener win32PortOpener() {
    return [](int comPort, std::string& why) -> std::unique_ptr<SerialPort> {
        return Win32SerialPort::open(comPort, &why);
    };
}

SerialPortOpener win32PortOpener(const IniFile& settings) {
    return [&settings](int comPort, std::string& why) -> std::unique_ptr<SerialPort> {
        return Win32SerialPort::open(portPath(settings, comPort, PortNaming::SystemPorts), &why);
    };
}

SerialPortOpener win32WatchedPortOpener(const IniFile& settings) {
    return [&settings](int comPort, std::string& why) -> std::unique_ptr<SerialPort> {
        return Win32WatchedPort::open(portPath(settings, comPort, PortNaming::SystemPorts), &why);
    };
}

std::unique_ptr<DeviceLink> makeWin32DeviceLink() {
    return linkThrough(win32PortOpener());
}

std::unique_ptr<DeviceLink> makeWin32DeviceLink(const IniFile& settings) {
    return linkThrough(win32PortOpener(settings));
}

}  // namespace tarvo

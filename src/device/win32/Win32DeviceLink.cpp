#include "device/win32/Win32DeviceLink.h"

#include "device/win32/Win32SerialPort.h"

namespace tarvo {

SerialPortOpener win32PortOpener() {
    return [](int comPort, std::string& why) -> std::unique_ptr<SerialPort> {
        return Win32SerialPort::open(comPort, &why);
    };
}

std::unique_ptr<DeviceLink> makeWin32DeviceLink() {
    return std::make_unique<DeviceLink>(win32PortOpener(), [](std::chrono::milliseconds pause) {
        ::Sleep(static_cast<DWORD>(pause.count()));
    });
}

}  // namespace tarvo

#include "device/win32/Win32SystemPorts.h"

// clang-format off
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <algorithm>
#include <array>

namespace tarvo {

namespace {

constexpr const char* kSerialComm = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr DWORD kNameChars = 256;

// A REG_SZ read whole: the stored text need not end in a NUL.
std::string stringValue(const std::array<char, kNameChars + 1>& data, DWORD bytes) {
    std::string text(data.data(), std::min<DWORD>(bytes, kNameChars));
    return text.substr(0, text.find('\0'));
}

std::string portNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::array<char, kNameChars + 1> data{};
    DWORD bytes = kNameChars;
    DWORD type = 0;
    const LONG read = RegQueryValueExA(key, "PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(data.data()), &bytes);
    RegCloseKey(key);
    return read == ERROR_SUCCESS && type == REG_SZ ? stringValue(data, bytes) : std::string();
}

std::string friendlyNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    std::array<char, kNameChars + 1> data{};
    DWORD bytes = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                           reinterpret_cast<BYTE*>(data.data()), kNameChars,
                                           &bytes)) {
        return {};
    }
    return stringValue(data, bytes);
}

}  // namespace

std::vector<std::string> Win32SystemPorts::names() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSerialComm, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return names;  // no port driver has started: no ports
    }
    for (DWORD index = 0;; ++index) {
        std::array<char, kNameChars + 1> valueName{};
        DWORD valueChars = kNameChars;
        std::array<char, kNameChars + 1> data{};
        DWORD bytes = kNameChars;
        DWORD type = 0;
        const LONG read = RegEnumValueA(key, index, valueName.data(), &valueChars, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (read == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (read == ERROR_SUCCESS && type == REG_SZ) {
            names.push_back(stringValue(data, bytes));
        }
    }
    RegCloseKey(key);
    return names;
}

std::map<std::string, std::string> Win32SystemPorts::friendlyNames() {
    std::map<std::string, std::string> friendly;
    HDEVINFO devices = SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return friendly;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const std::string port = portNameOf(devices, device);
        const std::string name = friendlyNameOf(devices, device);
        if (!port.empty() && !name.empty()) {
            friendly[port] = name;
        }
    }
    SetupDiDestroyDeviceInfoList(devices);
    return friendly;
}

}  // namespace tarvo

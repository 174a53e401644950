#include "SystemPortFixture.h"

// clang-format off
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

namespace tarvo::test {

namespace {

constexpr const char* kSerialComm = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

bool setString(HKEY key, const std::string& name, const std::string& value) {
    return RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool addSerialCommValue(const std::string& valueName, const std::string& port) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSerialComm, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool set = setString(key, valueName, port);
    RegCloseKey(key);
    return set;
}

// As a port's installer does: a registered device of the Ports class with
// its friendly name and, in its device key, the port's name.
bool addPortsDevice(const std::string& instance, const std::string& port,
                    const std::string& friendlyName) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        return false;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    bool made =
        SetupDiCreateDeviceInfoA(set, instance.c_str(), &GUID_DEVCLASS_PORTS, nullptr, nullptr, 0,
                                 &device) &&
        SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr) &&
        SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_FRIENDLYNAME,
                                          reinterpret_cast<const BYTE*>(friendlyName.c_str()),
                                          static_cast<DWORD>(friendlyName.size() + 1));
    if (made) {
        HKEY key =
            SetupDiCreateDevRegKeyA(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
        made = key != INVALID_HANDLE_VALUE && setString(key, "PortName", port);
        if (key != INVALID_HANDLE_VALUE) {
            RegCloseKey(key);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return made;
}

void removePortsDevice(const std::string& instance) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (SetupDiOpenDeviceInfoA(set, instance.c_str(), nullptr, 0, &device)) {
        SetupDiRemoveDevice(set, &device);
    }
    SetupDiDestroyDeviceInfoList(set);
}

}  // namespace

SystemPortFixture::~SystemPortFixture() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSerialComm, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        for (const std::string& value : values_) {
            RegDeleteValueA(key, value.c_str());
        }
        RegCloseKey(key);
    }
    for (const std::string& instance : devices_) {
        removePortsDevice(instance);
    }
}

bool SystemPortFixture::addPort(const std::string& name, const std::string& friendlyName) {
    const std::string value = "\\Device\\TarvoTest" + name;
    if (!addSerialCommValue(value, name)) {
        return false;
    }
    values_.push_back(value);
    if (friendlyName.empty()) {
        return true;
    }
    const std::string instance = "ROOT\\PORTS\\TARVO" + name;
    if (!addPortsDevice(instance, name, friendlyName)) {
        return false;
    }
    devices_.push_back(instance);
    return true;
}

}  // namespace tarvo::test

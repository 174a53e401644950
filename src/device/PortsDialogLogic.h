#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "device/DeviceProbe.h"
#include "device/SerialDeviceList.h"

namespace tarvo {

class IniFile;

// "present", "missing", or for a node the user may not open "no access: add
// yourself to the group dialout (sudo usermod -aG dialout $USER), then log in
// again" with the node's own group.
std::string accessText(const NodeAccess& access);

// accessText of a [Ports] path, which is CP1252 text, asked of the node it names.
std::string portAccessText(DeviceProbe& probe, const std::string& path);

// What a COM radio button's tooltip says, e.g. "COM1: /dev/ttyS0 (present)".
std::string comToolTip(int comPort, const std::string& path, const std::string& status);

// The rules of the Ports window: which serial devices there are, what COM1..COM4
// stand for and whether those devices are there, and the operator's choice,
// written to [Ports] at once.
class PortsDialogLogic {
  public:
    struct ComPortRow {
        std::string path;
        std::string status;
        bool operator==(const ComPortRow&) const = default;
    };
    struct ListedDevice {
        SerialDevice device;
        std::string status;
        bool operator==(const ListedDevice&) const = default;
    };

    PortsDialogLogic(IniFile& ini, std::filesystem::path root, DeviceProbe& probe);

    // Looks at the devices and the four paths again; true when anything shown
    // changed. Cheap enough to call every second while the window is open.
    bool refresh();

    const std::vector<ListedDevice>& devices() const { return devices_; }
    // COM1..COM4; the row of COM1 for any other number.
    const ComPortRow& comPort(int comPort) const;

    // Maps the COM port to the path (a by-id link to the same node is written
    // instead, as it survives re-plugging). False for an empty path, a number
    // outside 1 to 4 or a file that could not be written.
    bool choose(int comPort, const std::string& path);

  private:
    std::string statusOf(const std::string& path);

    IniFile& ini_;
    DeviceProbe& probe_;
    SerialDeviceList list_;
    std::vector<ListedDevice> devices_;
    std::array<ComPortRow, 4> comPorts_;
};

}  // namespace tarvo

#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceProbe.h"
#include "device/InstrumentSettings.h"
#include "device/NodePortListing.h"
#include "device/PortListing.h"

namespace tarvo {

class IniFile;

// What a COM radio button's tooltip says, e.g. "COM1: /dev/ttyS0 (present)".
std::string comToolTip(int comPort, const std::string& path, const std::string& status);

// The tooltip of a COM radio button, asked of [Ports], [Instruments] and the
// system at the moment it is shown: "COM1: /dev/ttyUSB0 (present), X-Rite 400
// series at 1200 baud" (the polled densitometer goes unnamed).
std::string comToolTipNow(const IniFile& ini, PortListing& listing, int comPort);

// The rules of the Ports window: which serial ports there are, what COM1..COM4
// stand for and whether those ports are there, and the operator's choice,
// written to [Ports] at once. The same on every system; the listing says what
// this system has.
class PortsDialogLogic {
  public:
    struct ComPortRow {
        std::string path;
        std::string status;
        bool operator==(const ComPortRow&) const = default;
    };
    using ListedDevice = tarvo::ListedDevice;

    PortsDialogLogic(IniFile& ini, PortListing& listing);
    // The device nodes under root.
    PortsDialogLogic(IniFile& ini, std::filesystem::path root, DeviceProbe& probe);

    // Looks at the devices and the four paths again; true when anything shown
    // changed. Cheap enough to call every second while the window is open.
    bool refresh();

    const std::vector<ListedDevice>& devices() const { return devices_; }
    // COM1..COM4; the row of COM1 for any other number.
    const ComPortRow& comPort(int comPort) const;

    // Maps the COM port to the path (on Linux a by-id link to the same node is
    // written instead, as it survives re-plugging). False for an empty path, a
    // number outside 1 to 4 or a file that could not be written.
    bool choose(int comPort, const std::string& path);

    // The instrument [Instruments] puts on the port now; no choice for a name
    // tarvo does not know (the window shows none chosen until one is).
    InstrumentSetting instrument(int comPort) const;
    // Only a line instrument's baud rate may be chosen; the polled
    // densitometer always runs at 4800.
    bool baudRateChoosable(int comPort) const;
    // Written to [Instruments] at once: a family at its own baud rate, or
    // another rate for the line instrument the port has. False when the
    // choice does not apply (a rate for the polled densitometer or outside
    // 300 to 9600, a number outside 1 to 4) or the file could not be written.
    bool chooseInstrument(int comPort, Instrument instrument);
    bool chooseBaudRate(int comPort, int baudRate);

  private:
    IniFile& ini_;
    std::unique_ptr<PortListing> ownListing_;
    PortListing& listing_;
    std::vector<ListedDevice> devices_;
    std::array<ComPortRow, 4> comPorts_;
};

}  // namespace tarvo

#pragma once

#include <array>
#include <memory>
#include <string>

#include "device/DeviceLink.h"

namespace tarvo {

class IniFile;

// Device paths of COM1..COM4, index 0 for COM1.
using PortPaths = std::array<std::string, 4>;

// Reads COM1..COM4 from the section [Ports] (an empty or missing key gives
// /dev/ttyS0../dev/ttyS3) and writes them straight back, so the file always
// shows where to point a port at a USB adapter.
PortPaths loadPortPaths(IniFile& settings);

// Opens the path configured for the COM number it is given.
SerialPortOpener posixPortOpener(PortPaths paths);

// The program's link to a real densitometer: ports from [Ports] of the given
// settings file, and a real 200 ms pause after setting the line.
std::unique_ptr<DeviceLink> makePosixDeviceLink(IniFile& settings);

}  // namespace tarvo

#pragma once

#include <array>
#include <string>

namespace tarvo {

class IniFile;

// Device paths of COM1..COM4, index 0 for COM1.
using PortPaths = std::array<std::string, 4>;

// What the values of [Ports] name: device paths on Linux, where COMn is
// /dev/ttyS(n-1) unless the file says otherwise, or the system's own ports
// ("COM7") on Windows, where COMn is the system's COMn unless it says otherwise.
enum class PortNaming { DevicePaths, SystemPorts };

// What COMn stands for while [Ports] names nothing for it.
std::string defaultPortPath(int comPort, PortNaming naming);

// Reads COM1..COM4 from the section [Ports] (an empty or missing key gives
// /dev/ttyS0../dev/ttyS3) and writes them straight back, so the file always
// shows where to point a port at a USB adapter.
PortPaths loadPortPaths(IniFile& settings);

// The path COM1..COM4 stands for now, read from the file at each call, so a
// choice made in the Ports window counts at the next open. Empty for numbers
// outside 1 to 4.
std::string portPath(const IniFile& settings, int comPort,
                     PortNaming naming = PortNaming::DevicePaths);

// Writes [Ports] COMn at once; false when the number is outside 1 to 4 or the
// file could not be written.
bool writePortPath(IniFile& settings, int comPort, const std::string& path);

}  // namespace tarvo

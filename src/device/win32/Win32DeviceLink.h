#pragma once

#include <memory>

#include "device/DeviceLink.h"

namespace tarvo {

class IniFile;

// Opens the system's COM1..COM4 by their Win32 device names.
SerialPortOpener win32PortOpener();

// Opens the system port [Ports] of the settings names for COMn ("COM1=COM7"),
// read again at every open so the Ports window's choice counts at once; the
// system's COMn where [Ports] names none.
SerialPortOpener win32PortOpener(const IniFile& settings);

// The same ports opened to be waited on, for an instrument that sends each
// reading unasked (Win32WatchedPort).
SerialPortOpener win32WatchedPortOpener(const IniFile& settings);

// The program's link to a real densitometer on Windows: the COM ports
// themselves, and Sleep for the pause after setting the line.
std::unique_ptr<DeviceLink> makeWin32DeviceLink();
// The same through the ports [Ports] of the settings names.
std::unique_ptr<DeviceLink> makeWin32DeviceLink(const IniFile& settings);

}  // namespace tarvo

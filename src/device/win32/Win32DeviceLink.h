#pragma once

#include <memory>

#include "device/DeviceLink.h"

namespace tarvo {

// Opens COM1..COM4 by their Win32 device names.
SerialPortOpener win32PortOpener();

// The program's link to a real densitometer on Windows: the COM ports
// themselves, and Sleep for the pause after setting the line.
std::unique_ptr<DeviceLink> makeWin32DeviceLink();

}  // namespace tarvo

#pragma once

#include <memory>
#include <string>

#include "device/DeviceLink.h"
#include "device/PortSettings.h"

namespace tarvo {

class IniFile;

// Opens the path configured for the COM number it is given.
SerialPortOpener posixPortOpener(PortPaths paths);

// Opens the path [Ports] of the settings file names for the COM number, read
// again at every open, so the Ports window's choice counts at once.
SerialPortOpener posixSettingsPortOpener(const IniFile& settings);

// The program's link to a real densitometer: ports from [Ports] of the given
// settings file (read again at every open, so the Ports window's choice
// counts at once), and a real 200 ms pause after setting the line.
std::unique_ptr<DeviceLink> makePosixDeviceLink(IniFile& settings);

}  // namespace tarvo

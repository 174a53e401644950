#pragma once

#include "device/SystemPortListing.h"

namespace tarvo {

// The serial ports Windows has now: the values of
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, which the port drivers keep while a
// port is there, and the friendly names the Setup API gives the present
// devices of the Ports class ("USB Serial Port (COM7)").
class Win32SystemPorts final : public SystemPorts {
  public:
    std::vector<std::string> names() override;
    std::map<std::string, std::string> friendlyNames() override;
};

}  // namespace tarvo

#pragma once

#include <string>
#include <vector>

#include "device/PortSettings.h"
#include "device/SerialDeviceList.h"

namespace tarvo {

// A serial port as the Ports window lists it, with what the system says of
// it ("present", or why it cannot be used).
struct ListedDevice {
    SerialDevice device;
    std::string status;
    bool operator==(const ListedDevice&) const = default;
};

// What the Ports window asks the system, in the program's CP1252 text: the
// device nodes of Linux (NodePortListing) or the COM ports Windows lists
// (SystemPortListing).
class PortListing {
  public:
    virtual ~PortListing() = default;

    // What the values of [Ports] name on this system.
    virtual PortNaming naming() const = 0;
    // The ports there are now.
    virtual std::vector<ListedDevice> listNow() = 0;
    // What the system says of the port a [Ports] value names.
    virtual std::string status(const std::string& path) = 0;
    // The value [Ports] gets for a port the operator chose or typed.
    virtual std::string preferredPath(const std::string& path) = 0;
};

}  // namespace tarvo

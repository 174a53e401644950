#pragma once

#include <filesystem>
#include <string>

#include "device/DeviceProbe.h"
#include "device/PortListing.h"
#include "device/SerialDeviceList.h"

namespace tarvo {

// "present", "missing", or for a node the user may not open "no access: add
// yourself to the group dialout (sudo usermod -aG dialout $USER), then log in
// again" with the node's own group.
std::string accessText(const NodeAccess& access);

// The device nodes under root (the system's "/", or a test's folder), as
// SerialDeviceList finds them, each with whether this user may open it.
class NodePortListing final : public PortListing {
  public:
    NodePortListing(std::filesystem::path root, DeviceProbe& probe);

    PortNaming naming() const override { return PortNaming::DevicePaths; }
    std::vector<ListedDevice> listNow() override;
    // A ttyS node without a UART behind it says so.
    std::string status(const std::string& path) override;
    // A by-id link to the same node, as it survives re-plugging.
    std::string preferredPath(const std::string& path) override;

  private:
    DeviceProbe& probe_;
    SerialDeviceList list_;
};

}  // namespace tarvo

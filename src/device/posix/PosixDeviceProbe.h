#pragma once

#include "device/DeviceProbe.h"

namespace tarvo {

// Asks the running system: TIOCGSERIAL for the UART behind a ttyS node (the
// kernel's sysfs "type" where the node cannot be opened), stat and access(2)
// for whether this user may open a node.
class PosixDeviceProbe final : public DeviceProbe {
  public:
    bool hasUart(const std::filesystem::path& node) override;
    NodeAccess access(const std::filesystem::path& node) override;
};

}  // namespace tarvo

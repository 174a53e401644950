#pragma once

#include <filesystem>
#include <string>

namespace tarvo {

// Whether the program's user may open a device node.
struct NodeAccess {
    enum class State { Allowed, Missing, Denied };
    State state = State::Missing;
    std::string group;  // the node's group, for the fix a denied user needs
};

// What the port listing asks the system about a device node: posix/ answers
// for real ports, the tests for a fake /dev tree in a temporary folder.
class DeviceProbe {
  public:
    virtual ~DeviceProbe() = default;
    // True when a UART answers behind a ttyS node; motherboards create more
    // ttyS nodes than they have ports.
    virtual bool hasUart(const std::filesystem::path& node) = 0;
    virtual NodeAccess access(const std::filesystem::path& node) = 0;
};

}  // namespace tarvo

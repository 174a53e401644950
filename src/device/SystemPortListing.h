#pragma once

#include <map>
#include <string>
#include <vector>

#include "device/PortListing.h"

namespace tarvo {

// What Windows says about its serial ports: win32/ answers from the registry
// and the Setup API, the tests from a list of their own.
class SystemPorts {
  public:
    virtual ~SystemPorts() = default;
    // The ports there are, e.g. "COM1" and "COM7", in any order.
    virtual std::vector<std::string> names() = 0;
    // A port's name for people, e.g. "USB Serial Port (COM7)", where the
    // system has one; keyed by port name.
    virtual std::map<std::string, std::string> friendlyNames() = 0;
};

// The system's COM ports, COM2 before COM10, each under its friendly name
// where it has one. [Ports] holds port names such as COM7.
class SystemPortListing final : public PortListing {
  public:
    explicit SystemPortListing(SystemPorts& system) : system_(system) {}

    PortNaming naming() const override { return PortNaming::SystemPorts; }
    std::vector<ListedDevice> listNow() override;
    // "present" for a port the system lists now, else "missing".
    std::string status(const std::string& path) override;
    // "com7" and "\\.\COM7" are written as COM7.
    std::string preferredPath(const std::string& path) override;

  private:
    std::vector<std::string> namesNow();

    SystemPorts& system_;
};

// The port name a [Ports] value or a typed text stands for: without a
// leading "\\.\", COMn in capitals; other names as they stand.
std::string systemPortName(const std::string& path);

}  // namespace tarvo

#pragma once

#include <string>
#include <vector>

namespace tarvo::test {

// Serial ports as a port driver and its installer leave them in the registry
// of the test's wine prefix: a value in HKLM\HARDWARE\DEVICEMAP\SERIALCOMM
// per port, and for a port with a friendly name a device of the Ports class
// made through the Setup API. All of it is removed again at destruction.
class SystemPortFixture {
  public:
    SystemPortFixture() = default;
    ~SystemPortFixture();
    SystemPortFixture(const SystemPortFixture&) = delete;
    SystemPortFixture& operator=(const SystemPortFixture&) = delete;

    // False when the registry refused: the failure is the test's.
    bool addPort(const std::string& name, const std::string& friendlyName = {});

  private:
    std::vector<std::string> values_;
    std::vector<std::string> devices_;
};

}  // namespace tarvo::test

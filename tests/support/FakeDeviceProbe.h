#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "device/DeviceProbe.h"

namespace tarvo::test {

// A /dev tree in a temporary folder: nodes are plain files, by-id entries
// relative symlinks as udev makes them. Which ttyS nodes have a UART and which
// nodes this user may not open is said here, not by the files' modes, so the
// tests read the same as root and as an ordinary user.
class FakeDeviceProbe final : public DeviceProbe {
  public:
    explicit FakeDeviceProbe(std::filesystem::path root);

    // Creates root/dev/<name>.
    std::filesystem::path addNode(const std::string& name);
    // Creates root/dev/serial/by-id/<name> pointing at ../../<node>.
    std::filesystem::path addById(const std::string& name, const std::string& node);
    void removeNode(const std::string& name);
    void giveUart(const std::string& node) { uarts_.insert(node); }
    void deny(const std::string& node) { denied_.insert(node); }

    bool hasUart(const std::filesystem::path& node) override;
    NodeAccess access(const std::filesystem::path& node) override;

    int uartQuestions() const { return uartQuestions_; }
    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
    std::set<std::string> uarts_;
    std::set<std::string> denied_;
    int uartQuestions_ = 0;
};

}  // namespace tarvo::test

#include "FakeDeviceProbe.h"

#include <fstream>
#include <system_error>
#include <utility>

namespace tarvo::test {

namespace fs = std::filesystem;

FakeDeviceProbe::FakeDeviceProbe(fs::path root) : root_(std::move(root)) {
    fs::create_directories(root_ / "dev");
}

fs::path FakeDeviceProbe::addNode(const std::string& name) {
    const fs::path node = root_ / "dev" / name;
    std::ofstream{node};
    return node;
}

fs::path FakeDeviceProbe::addById(const std::string& name, const std::string& node) {
    const fs::path folder = root_ / "dev" / "serial" / "by-id";
    fs::create_directories(folder);
    fs::create_symlink(fs::path("../..") / node, folder / name);
    return folder / name;
}

void FakeDeviceProbe::removeNode(const std::string& name) {
    fs::remove(root_ / "dev" / name);
}

bool FakeDeviceProbe::hasUart(const fs::path& node) {
    ++uartQuestions_;
    return uarts_.count(node.filename().string()) != 0;
}

NodeAccess FakeDeviceProbe::access(const fs::path& node) {
    std::error_code error;
    const fs::path real = fs::canonical(node, error);
    if (error) {
        return {NodeAccess::State::Missing, {}};
    }
    if (denied_.count(real.filename().string()) != 0) {
        return {NodeAccess::State::Denied, "dialout"};
    }
    return {NodeAccess::State::Allowed, "dialout"};
}

}  // namespace tarvo::test

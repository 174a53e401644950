#include "device/SystemPortListing.h"

#include <algorithm>
#include <cctype>

namespace tarvo {

namespace {

constexpr const char* kDevicePrefix = "\\\\.\\";

bool isComName(const std::string& name) {
    return name.size() > 3 &&
           std::all_of(name.begin() + 3, name.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; }) &&
           std::equal(name.begin(), name.begin() + 3, "COM", [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

// The friendly name usually ends in "(COM7)"; one that does not gets it, so
// the operator sees which port is which.
std::string labelOf(const std::string& name, const std::string& friendly) {
    if (friendly.empty()) {
        return name;
    }
    return friendly.find(name) == std::string::npos ? friendly + " (" + name + ")" : friendly;
}

}  // namespace

std::string systemPortName(const std::string& path) {
    std::string name = path.rfind(kDevicePrefix, 0) == 0 ? path.substr(4) : path;
    if (isComName(name)) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    }
    return name;
}

std::vector<std::string> SystemPortListing::namesNow() {
    std::vector<std::string> names = system_.names();
    std::transform(names.begin(), names.end(), names.begin(), systemPortName);
    return names;
}

std::vector<ListedDevice> SystemPortListing::listNow() {
    std::vector<std::string> names = namesNow();
    std::sort(names.begin(), names.end(), naturalLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    const std::map<std::string, std::string> friendly = system_.friendlyNames();
    std::vector<ListedDevice> devices;
    for (const std::string& name : names) {
        const auto found = friendly.find(name);
        const std::string label = labelOf(name, found == friendly.end() ? "" : found->second);
        devices.push_back({{name, label, name, false}, "present"});
    }
    return devices;
}

std::string SystemPortListing::status(const std::string& path) {
    const std::vector<std::string> names = namesNow();
    const bool listed = std::find(names.begin(), names.end(), systemPortName(path)) != names.end();
    return listed ? "present" : "missing";
}

std::string SystemPortListing::preferredPath(const std::string& path) {
    return systemPortName(path);
}

}  // namespace tarvo

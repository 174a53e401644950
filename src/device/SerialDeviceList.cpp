#include "device/SerialDeviceList.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>

namespace tarvo {

namespace fs = std::filesystem;

namespace {

// Listed in this order; ttyS nodes only where a UART answers.
constexpr const char* kNodePrefixes[] = {"ttyUSB", "ttyACM", "ttyS"};

bool isNumbered(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::vector<fs::path> entriesOf(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    return entries;
}

std::size_t digitsStart(const std::string& name) {
    std::size_t at = name.size();
    while (at > 0 && std::isdigit(static_cast<unsigned char>(name[at - 1])) != 0) {
        --at;
    }
    return at;
}

}  // namespace

bool naturalLess(const std::string& a, const std::string& b) {
    auto key = [](const std::string& name) {
        const std::size_t at = digitsStart(name);
        const std::string digits = name.substr(at, 18);
        return std::pair(name.substr(0, at), digits.empty() ? 0ULL : std::stoull(digits));
    };
    const auto aKey = key(a);
    const auto bKey = key(b);
    return aKey != bKey ? aKey < bKey : a < b;
}

SerialDeviceList::SerialDeviceList(fs::path root, DeviceProbe& probe)
    : root_(std::move(root)), probe_(probe) {}

bool SerialDeviceList::refresh() {
    std::vector<SerialDevice> now = listNow();
    if (now == devices_) {
        return false;
    }
    devices_ = std::move(now);
    return true;
}

std::vector<SerialDevice> SerialDeviceList::listNow() {
    std::vector<SerialDevice> found;
    addById(found);
    addNodes(found);
    return found;
}

void SerialDeviceList::addById(std::vector<SerialDevice>& found) const {
    std::vector<SerialDevice> links;
    for (const fs::path& link : entriesOf(root_ / "dev" / "serial" / "by-id")) {
        std::error_code error;
        const fs::path node = fs::canonical(link, error);
        if (error) {
            continue;  // the adapter went, the link stayed behind for a moment
        }
        const std::string nodeName = node.filename().string();
        links.push_back(
            {link.string(), link.filename().string() + " (" + nodeName + ")", nodeName, true});
    }
    std::sort(links.begin(), links.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.label < b.label; });
    found.insert(found.end(), links.begin(), links.end());
}

void SerialDeviceList::addNodes(std::vector<SerialDevice>& found) {
    const std::vector<fs::path> entries = entriesOf(root_ / "dev");
    for (const std::string prefix : kNodePrefixes) {
        std::vector<fs::path> nodes;
        for (const fs::path& entry : entries) {
            if (isNumbered(entry.filename().string(), prefix)) {
                nodes.push_back(entry);
            }
        }
        std::sort(nodes.begin(), nodes.end(), [](const fs::path& a, const fs::path& b) {
            return naturalLess(a.filename().string(), b.filename().string());
        });
        for (const fs::path& node : nodes) {
            if (!answersAsUart(node)) {
                continue;
            }
            found.push_back({node.string(), shownPath(node), node.filename().string(), false});
        }
    }
}

bool SerialDeviceList::answersAsUart(const fs::path& node) {
    if (!isNumbered(node.filename().string(), "ttyS")) {
        return true;
    }
    auto [known, inserted] = uartAnswers_.try_emplace(node.string(), false);
    if (inserted) {
        known->second = probe_.hasUart(node);
    }
    return known->second;
}

std::string SerialDeviceList::shownPath(const fs::path& path) const {
    return "/" + path.lexically_relative(root_).generic_string();
}

std::string SerialDeviceList::preferredPath(const std::string& path) const {
    std::error_code error;
    const fs::path node = fs::canonical(path, error);
    if (error) {
        return path;
    }
    for (const SerialDevice& device : devices_) {
        std::error_code linkError;
        if (device.byId && fs::canonical(device.path, linkError) == node && !linkError) {
            return device.path;
        }
    }
    return path;
}

}  // namespace tarvo

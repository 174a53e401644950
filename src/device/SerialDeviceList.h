#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "device/DeviceProbe.h"

namespace tarvo {

// One serial device as the Ports window lists it.
struct SerialDevice {
    std::string path;   // what goes into [Ports]
    std::string label;  // "usb-FTDI_FT232R_A1B2-if00-port0 (ttyUSB0)" or "/dev/ttyUSB0"
    std::string node;   // the node it is, e.g. "ttyUSB0"
    bool byId = false;  // a /dev/serial/by-id link

    bool operator==(const SerialDevice&) const = default;
};

// The serial devices under root (the system's "/", or a test's folder):
// /dev/serial/by-id links first (they survive re-plugging), then ttyUSB*,
// ttyACM* and, where a UART answers, ttyS*, each in natural order. A by-id
// link whose node is gone is left out. The UART answer of a ttyS node is
// asked once per node and kept, as those nodes do not come and go.
class SerialDeviceList {
  public:
    SerialDeviceList(std::filesystem::path root, DeviceProbe& probe);

    // Lists again; true when the list changed (an adapter came or went).
    bool refresh();
    const std::vector<SerialDevice>& devices() const { return devices_; }

    // The by-id link that leads to the same node as path, else path itself.
    std::string preferredPath(const std::string& path) const;
    // False for a ttyS node without a UART behind it; true for every other path.
    bool answersAsUart(const std::filesystem::path& node);

  private:
    std::vector<SerialDevice> listNow();
    void addById(std::vector<SerialDevice>& found) const;
    void addNodes(std::vector<SerialDevice>& found);
    std::string shownPath(const std::filesystem::path& path) const;

    std::filesystem::path root_;
    DeviceProbe& probe_;
    std::map<std::string, bool> uartAnswers_;
    std::vector<SerialDevice> devices_;
};

// The name's letters, then its number as a number: ttyUSB2 before ttyUSB10.
bool naturalLess(const std::string& a, const std::string& b);

}  // namespace tarvo

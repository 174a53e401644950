#include "app/DeviceReadingLink.h"

namespace tarvo {
namespace {

constexpr int kBaudRate = 4800;
constexpr int kDataBits = 8;
constexpr int kOneStopBit = 0;
constexpr int kNoParity = 0;
constexpr int kIdentifyWithR = 2;

}  // namespace

int DeviceReadingLink::open(int comNumber, std::string& message) {
    return link_.open(comNumber, kBaudRate, kDataBits, kOneStopBit, kNoParity, kIdentifyWithR,
                      nullptr, message);
}

}  // namespace tarvo

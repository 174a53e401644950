#pragma once

#include "app/AcquisitionPorts.h"
#include "device/DeviceLink.h"

namespace tarvo {

// The densitometer link as the acquisition cycle uses it: always 4800 baud,
// 8 data bits, one stop bit, no parity, the 'R' identify and the standard
// time-outs.
class DeviceReadingLink final : public ReadingLink {
  public:
    explicit DeviceReadingLink(DeviceLink& link) : link_(link) {}

    int open(int comNumber, std::string& message) override;
    void close() override { link_.close(); }
    int exchange(ReadingValues& values) override { return link_.exchange(values); }
    void resetFailureCount() override { link_.setFailureCount(0); }
    std::string failureReason() const override { return link_.failureReason(); }

  private:
    DeviceLink& link_;
};

}  // namespace tarvo

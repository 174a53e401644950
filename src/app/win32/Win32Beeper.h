#pragma once

#include "app/AcquisitionPorts.h"

namespace tarvo::win32 {

// Beep and Sleep: the tone blocks for its length, as the pause does.
class Win32Beeper final : public Beeper {
  public:
    void beep(int frequencyHz, std::chrono::milliseconds duration) override;
    void pause(std::chrono::milliseconds duration) override;
};

}  // namespace tarvo::win32

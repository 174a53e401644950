#pragma once

#include <windows.h>

#include "app/AcquisitionPorts.h"

namespace tarvo::win32 {

// The poll timer as a window timer, id 1 on the main window: its ticks come
// as WM_TIMER between the window's other messages.
class WindowTimer final : public PollTimer {
  public:
    static constexpr UINT_PTR kId = 1;

    explicit WindowTimer(HWND window) : window_(window) {}
    bool install(std::chrono::milliseconds period) override;
    void kill() override;

  private:
    HWND window_;
    UINT_PTR installed_ = 0;
};

}  // namespace tarvo::win32

#pragma once

#include <windows.h>

#include "app/AcquisitionPorts.h"

namespace tarvo::win32 {

// The poll timer as a window timer, id 1 on the main window: its ticks come
// as WM_TIMER between the window's other messages. The gap timer of an
// instrument that sends unasked is a second one, id 2.
class WindowTimer final : public PollTimer {
  public:
    static constexpr UINT_PTR kId = 1;
    static constexpr UINT_PTR kGapId = 2;

    explicit WindowTimer(HWND window, UINT_PTR id = kId) : window_(window), id_(id) {}
    bool install(std::chrono::milliseconds period) override;
    void kill() override;

  private:
    HWND window_;
    UINT_PTR id_;
    UINT_PTR installed_ = 0;
};

}  // namespace tarvo::win32

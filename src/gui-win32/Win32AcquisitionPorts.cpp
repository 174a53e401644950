#include "gui-win32/Win32AcquisitionPorts.h"

namespace tarvo::win32 {

bool WindowTimer::install(std::chrono::milliseconds period) {
    installed_ = SetTimer(window_, id_, static_cast<UINT>(period.count()), nullptr);
    return installed_ != 0;
}

void WindowTimer::kill() {
    if (installed_ != 0) {
        KillTimer(window_, installed_);
        installed_ = 0;
    }
}

}  // namespace tarvo::win32

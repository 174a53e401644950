#pragma once

#include <windows.h>

#include <vector>

namespace tarvo::win32 {

// While a message box or a common dialog is open, the program's other
// windows take no input, as Qt's application-modal boxes do on Linux: the
// system disables only the box's owner, so the main window or the Excel
// dialog would stay clickable beside a box the other one raised. Disables
// every other enabled, visible top-level window of this thread, and enables
// them again when it goes.
class OtherWindowsDisabled {
  public:
    explicit OtherWindowsDisabled(HWND owner);
    ~OtherWindowsDisabled();
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

  private:
    static BOOL CALLBACK disableOther(HWND window, LPARAM self);

    HWND owner_;
    std::vector<HWND> disabled_;
};

}  // namespace tarvo::win32

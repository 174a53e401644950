#include "gui-win32/OtherWindowsDisabled.h"

namespace tarvo::win32 {

OtherWindowsDisabled::OtherWindowsDisabled(HWND owner) : owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), disableOther, reinterpret_cast<LPARAM>(this));
}

OtherWindowsDisabled::~OtherWindowsDisabled() {
    for (HWND window : disabled_) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
}

BOOL CALLBACK OtherWindowsDisabled::disableOther(HWND window, LPARAM self) {
    auto* that = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != that->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        that->disabled_.push_back(window);
    }
    return TRUE;
}

}  // namespace tarvo::win32

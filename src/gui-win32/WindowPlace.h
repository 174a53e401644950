#pragma once

#include <windows.h>

namespace tarvo::win32 {

// Centres the window over the other one, or with none on the working area
// of the monitor it is on, as the dialog framework of the Parts places an
// ownerless dialog; it is kept inside that working area.
void centreWindow(HWND window, HWND over);

}  // namespace tarvo::win32

#pragma once

#include <windows.h>

namespace tarvo::win32 {

// The About box, template 100, run modally over the main window.
void showAboutBox(HINSTANCE instance, HWND owner);

}  // namespace tarvo::win32

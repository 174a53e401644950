#pragma once

#include <windows.h>

#include "app/DateText.h"
#include "files/win32/ProfileIniFile.h"
#include "gui-win32/Win32MessageBoxes.h"

namespace tarvo::win32 {

// The application: the settings file, the clock and the message boxes for the
// whole run, and the main window with everything its buttons drive.
class ReaderApp {
  public:
    explicit ReaderApp(HINSTANCE instance);
    // Runs the main window until its close box ends it; the process's result.
    int run();

  private:
    HINSTANCE instance_;
    ProfileIniFile ini_;
    SystemClock clock_;
    Win32MessageBoxes messages_;
};

// The message loop of the program's windows: keyboard navigation inside
// every dialog, modeless ones included, and Ctrl+C for the main window's
// rows, until the main window has gone.
int runMessageLoop(HWND mainWindow);

}  // namespace tarvo::win32

#pragma once

#include <windows.h>

#include "app/WelcomeBitmap.h"

namespace tarvo::win32 {

// The window of template 133 that shows the welcome picture while no
// acquisition runs. It is owned by the main window and never closes by itself.
class WelcomeWindow {
  public:
    WelcomeWindow(HINSTANCE instance, HWND owner, WelcomeBitmap bitmap);
    ~WelcomeWindow();
    WelcomeWindow(const WelcomeWindow&) = delete;
    WelcomeWindow& operator=(const WelcomeWindow&) = delete;

    HWND handle() const { return window_; }
    // Shown without taking the keyboard from the main window, once that is shown.
    void setShown(bool shown);

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void sizeClientArea();
    void paint();

    WelcomeBitmap bitmap_;
    HWND window_ = nullptr;
};

}  // namespace tarvo::win32

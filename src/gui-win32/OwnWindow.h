#pragma once

#include <windows.h>

namespace tarvo::win32 {

// A window of a class of the program's own (not a dialog template), whose
// messages go to the object that made it until the window is gone.
class OwnWindow {
  public:
    OwnWindow() = default;
    virtual ~OwnWindow() = default;
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;

    HWND handle() const { return window_; }

  protected:
    // Registers the class once, on the dialogs' background, and makes the
    // window; handle() is empty when that failed.
    void create(HINSTANCE instance, const char* className, DWORD exStyle, DWORD style,
                const char* title, const RECT& place, HWND owner);
    // Each window's own destructor calls it, while its handler still can run.
    void destroy();
    // Messages not handled go to DefWindowProcA.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND window_ = nullptr;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace tarvo::win32

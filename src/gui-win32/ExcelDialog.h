#pragma once

#include <windows.h>

#include <functional>

#include "excel/transfer/ExcelDialogLogic.h"
#include "excel/transfer/TransferSession.h"

namespace tarvo::win32 {

// The modeless "Excel Automation" window, template 132, owned by the main
// window. It shows an ExcelDialogLogic and reports the operator's actions to
// it, deciding nothing itself.
class ExcelDialog {
  public:
    // closed is told once the window has agreed to close and is gone; it may
    // destroy this object.
    ExcelDialog(HINSTANCE instance, HWND owner, TransferSession& session,
                ExcelDialogServices services, std::function<void()> closed);
    ~ExcelDialog();
    ExcelDialog(const ExcelDialog&) = delete;
    ExcelDialog& operator=(const ExcelDialog&) = delete;

    HWND handle() const { return window_; }
    ExcelDialogLogic& logic() { return logic_; }

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code);
    void click(int id);
    void closeRequested();
    void showLogic();
    void showSheets();
    void showCursor();

    ExcelDialogLogic logic_;
    std::function<void()> closed_;
    HWND window_ = nullptr;
    bool showing_ = false;
    bool waiting_ = false;  // the wait cursor is shown
};

}  // namespace tarvo::win32

#include "gui-win32/AboutDialog.h"

#include "gui-win32/WindowPlace.h"

namespace tarvo::win32 {

namespace {

constexpr int kAboutTemplate = 100;

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            centreWindow(window, GetWindow(window, GW_OWNER));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void showAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kAboutTemplate), owner, aboutProc, 0);
}

}  // namespace tarvo::win32

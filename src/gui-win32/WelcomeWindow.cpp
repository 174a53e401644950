#include "gui-win32/WelcomeWindow.h"

#include <cstdlib>

#include "gui-win32/WindowPlace.h"

namespace tarvo::win32 {

namespace {

constexpr int kWelcomeTemplate = 133;

}  // namespace

WelcomeWindow::WelcomeWindow(HINSTANCE instance, HWND owner, WelcomeBitmap bitmap)
    : bitmap_(std::move(bitmap)) {
    CreateDialogParamA(instance, MAKEINTRESOURCEA(kWelcomeTemplate), owner, dialogProc,
                       reinterpret_cast<LPARAM>(this));
}

WelcomeWindow::~WelcomeWindow() {
    if (window_ && IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

// Mapped only once its owner is: a window manager stacks a window mapped
// before its owner under the owner, where the picture would not be seen.
void WelcomeWindow::setShown(bool shown) {
    if (window_) {
        const bool ownerShown = IsWindowVisible(GetWindow(window_, GW_OWNER));
        ShowWindow(window_, shown && ownerShown ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

INT_PTR CALLBACK WelcomeWindow::dialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<WelcomeWindow*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
        self->sizeClientArea();
        // Over the main window, grown to the picture's size.
        centreWindow(window, GetWindow(window, GW_OWNER));
        return TRUE;
    }
    auto* self = reinterpret_cast<WelcomeWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
        case WM_PAINT:
            if (self) {
                self->paint();
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:  // Enter and Esc do not close the picture
        case WM_CLOSE:
            return TRUE;
        case WM_NCDESTROY:
            if (self) {
                self->window_ = nullptr;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

// The first size gives the frame's share, the second leaves exactly the
// picture's size inside: 2 * 376 - cx by 2 * 200 - cy.
void WelcomeWindow::sizeClientArea() {
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOACTIVATE;
    SetWindowPos(window_, HWND_TOP, 0, 0, kWelcomeWidth, kWelcomeHeight, kKeepPlace);
    RECT client{};
    GetClientRect(window_, &client);
    SetWindowPos(window_, nullptr, 0, 0, 2 * kWelcomeWidth - client.right,
                 2 * kWelcomeHeight - client.bottom, kKeepPlace | SWP_NOZORDER);
}

void WelcomeWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (bitmap_.loaded) {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(bitmap_.block.data());
        StretchDIBits(dc, 0, 0, kWelcomeWidth, kWelcomeHeight, 0, 0, bitmap_.width(),
                      std::abs(bitmap_.height()), bitmap_.block.data() + bitmap_.pixelOffset, info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(window_, &ps);
}

}  // namespace tarvo::win32

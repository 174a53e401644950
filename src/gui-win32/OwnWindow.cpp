#include "gui-win32/OwnWindow.h"

namespace tarvo::win32 {

namespace {

constexpr int kIconResource = 128;

void registerClass(HINSTANCE instance, const char* className, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, className, &windowClass)) {
        return;
    }
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
    RegisterClassExA(&windowClass);
}

}  // namespace

void OwnWindow::destroy() {
    if (window_ && IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

void OwnWindow::create(HINSTANCE instance, const char* className, DWORD exStyle, DWORD style,
                       const char* title, const RECT& place, HWND owner) {
    registerClass(instance, className, windowProc);
    CreateWindowExA(exStyle, className, title, style, place.left, place.top, place.right,
                    place.bottom, owner, nullptr, instance, this);
}

LRESULT CALLBACK OwnWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<OwnWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<OwnWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

}  // namespace tarvo::win32

#include "gui-win32/ScreenScale.h"

#include <windows.h>

namespace tarvo::win32 {

namespace {

constexpr int kDesignDpi = 96;

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int scaled(int pixels) {
    static const int dpi = screenDpi();
    return MulDiv(pixels, dpi, kDesignDpi);
}

}  // namespace tarvo::win32

#include "gui-win32/WindowPlace.h"

#include <algorithm>

namespace tarvo::win32 {

namespace {

LONG centred(LONG areaStart, LONG areaEnd, LONG size, LONG limitStart, LONG limitEnd) {
    const LONG start = areaStart + (areaEnd - areaStart - size) / 2;
    return std::max(limitStart, std::min(start, limitEnd - size));
}

ScreenRect screenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back(screenRect(info.rcWork));
    }
    return TRUE;
}

}  // namespace

void centreWindow(HWND window, HWND over) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(over ? over : window, MONITOR_DEFAULTTONEAREST),
                         &monitor)) {
        return;
    }
    const RECT work = monitor.rcWork;
    RECT area = work;
    if (over) {
        GetWindowRect(over, &area);
    }
    RECT own{};
    GetWindowRect(window, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    SetWindowPos(window, nullptr, centred(area.left, area.right, width, work.left, work.right),
                 centred(area.top, area.bottom, height, work.top, work.bottom), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<ScreenRect> screenWorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void placeBeside(HWND window, HWND mainWindow) {
    RECT own{};
    RECT main{};
    if (!GetWindowRect(window, &own) || !GetWindowRect(mainWindow, &main)) {
        return;
    }
    const ScreenRect place = shrunkBesideMainWindow(screenRect(main), own.right - own.left,
                                                    own.bottom - own.top, screenWorkAreas());
    SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tarvo::win32

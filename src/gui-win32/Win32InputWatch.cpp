#include "gui-win32/Win32InputWatch.h"

#include <utility>

namespace tarvo::win32 {

namespace {

constexpr UINT kBytesCame = WM_APP + 30;

}  // namespace

Win32InputWatch::Win32InputWatch(HINSTANCE instance, std::function<void()> bytesWaiting)
    : bytesWaiting_(std::move(bytesWaiting)) {
    create(instance, "TarvoInputWatch", 0, 0, "", {0, 0, 0, 0}, HWND_MESSAGE);
}

Win32InputWatch::~Win32InputWatch() {
    unwatch();
    destroy();
}

void Win32InputWatch::watch(const SerialPort& port) {
    unwatch();
    const std::intptr_t handle = port.waitHandle();
    if (handle == -1 || handle == 0) {
        return;
    }
    event_ = reinterpret_cast<HANDLE>(handle);
    arm();
}

// Returns once no call of the pool's is running, so the port may be closed
// right after.
void Win32InputWatch::unwatch() {
    disarm();
    event_ = nullptr;
}

// The event stays set while bytes wait, so a wait armed again after a call
// that left bytes behind comes back at once.
void Win32InputWatch::arm() {
    if (!RegisterWaitForSingleObject(&wait_, event_, signalled, this, INFINITE,
                                     WT_EXECUTEONLYONCE)) {
        wait_ = nullptr;
    }
}

void Win32InputWatch::disarm() {
    if (wait_ != nullptr) {
        UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
        wait_ = nullptr;
    }
}

void CALLBACK Win32InputWatch::signalled(PVOID self, BOOLEAN) {
    PostMessageA(static_cast<Win32InputWatch*>(self)->handle(), kBytesCame, 0, 0);
}

// A message posted before an unwatch may still come: it is dropped, or, once
// watched again, costs a read that finds nothing.
void Win32InputWatch::bytesCame() {
    if (event_ == nullptr) {
        return;
    }
    disarm();
    bytesWaiting_();
    if (event_ != nullptr && wait_ == nullptr) {
        arm();
    }
}

LRESULT Win32InputWatch::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kBytesCame) {
        bytesCame();
        return 0;
    }
    return DefWindowProcA(handle(), message, wParam, lParam);
}

}  // namespace tarvo::win32

#pragma once

#include <windows.h>

#include <functional>

#include "app/AcquisitionPorts.h"
#include "gui-win32/OwnWindow.h"

namespace tarvo::win32 {

// The input watch on Windows: a wait of the system's thread pool on the
// port's event (Win32WatchedPort::waitHandle) posts a message to a window of
// its own on the user-interface thread, so the owner is called between window
// messages, as a timer tick is, also while a message box or another window
// runs its own message loop. Nothing runs while no bytes come.
class Win32InputWatch final : public InputWatch, private OwnWindow {
  public:
    Win32InputWatch(HINSTANCE instance, std::function<void()> bytesWaiting);
    ~Win32InputWatch() override;

    void watch(const SerialPort& port) override;
    void unwatch() override;
    bool isWatching() const { return event_ != nullptr; }

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    static void CALLBACK signalled(PVOID self, BOOLEAN timedOut);
    void arm();
    void disarm();
    void bytesCame();

    std::function<void()> bytesWaiting_;
    HANDLE event_ = nullptr;  // the watched port's; none while not watching
    HANDLE wait_ = nullptr;   // the pool's one-shot wait on it, while armed
};

}  // namespace tarvo::win32

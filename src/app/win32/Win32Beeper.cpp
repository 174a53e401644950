#include "app/win32/Win32Beeper.h"

#include <windows.h>

namespace tarvo::win32 {

void Win32Beeper::beep(int frequencyHz, std::chrono::milliseconds duration) {
    Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(duration.count()));
}

void Win32Beeper::pause(std::chrono::milliseconds duration) {
    Sleep(static_cast<DWORD>(duration.count()));
}

}  // namespace tarvo::win32

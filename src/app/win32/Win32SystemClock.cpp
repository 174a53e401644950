#include <windows.h>

#include "app/DateText.h"

namespace tarvo {

LocalTime SystemClock::now() const {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace tarvo

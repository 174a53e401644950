// How long one colour exchange takes through the Win32 serial layer, against
// the time its 17 bytes need on a 4800-baud line: the simulator on COM4 paces
// every byte at the line's speed (scripts/test-windows runs this under wine).
#include <chrono>
#include <cstdio>
#include <string>

#include "device/DeviceLink.h"
#include "device/win32/Win32DeviceLink.h"

int main() {
    using namespace tarvo;
    auto link = makeWin32DeviceLink();
    std::string message;
    if (link->open(4, 4800, 8, 0, 0, 2, nullptr, message) != 0) {
        std::printf("COM4: %s\n", message.c_str());
        return 1;
    }
    constexpr int exchanges = 20;
    constexpr double wireMs = 17 * 10 * 1000.0 / 4800;
    ReadingValues values{};
    int readings = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < exchanges; ++i)
        readings += link->exchange(values) == 0 && values[0] != 0;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    const double perExchange = took.count() / exchanges;
    std::printf("%d of %d exchanges brought a reading; %.1f ms each, wire %.1f ms, ratio %.2f\n",
                readings, exchanges, perExchange, wireMs, perExchange / wireMs);
    return readings == exchanges ? 0 : 1;
}

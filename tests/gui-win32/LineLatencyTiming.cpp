// How long a reading of an instrument that sends unasked takes from its
// line's last byte to its row in the table, through the pieces tarvo.exe
// wires for it (the watched port, the line link, the cycle, the thread pool's
// wait and the message to the user-interface thread), against
// densitometer-sim --instrument xrite-400 at 1200 baud on the front-end tests'
// COM port; and the CPU the process takes while it waits with nothing coming.
// scripts/test-windows runs it under wine and prints the figures.
//
// The simulator logs each line's last byte on CLOCK_MONOTONIC; wine's
// QueryPerformanceCounter counts CLOCK_MONOTONIC_RAW, so a Linux process reads
// how far the two clocks are apart.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "TempDir.h"
#include "WineSimulator.h"
#include "app/AcquisitionCycle.h"
#include "app/InstrumentReadingLink.h"
#include "app/MainWindowState.h"
#include "app/win32/Win32Beeper.h"
#include "base/MessageBoxes.h"
#include "device/win32/Win32DeviceLink.h"
#include "files/IniFile.h"
#include "gui-win32/Win32AcquisitionPorts.h"
#include "gui-win32/Win32InputWatch.h"

namespace {

using namespace tarvo;
using test::milliseconds;

constexpr int kReadings = 40;
constexpr DWORD kIdleMs = 10000;
constexpr milliseconds kReadingsDeadline{60000};

int testPort() {
    const char* port = std::getenv("TARVO_FRONTEND_COM");
    return port ? std::atoi(port) : 3;
}

double rawSeconds() {
    LARGE_INTEGER count{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double cpuSeconds() {
    FILETIME created{}, ended{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

std::optional<double> monotonicAheadOfRaw(const test::SharedFolder& folder) {
    test::RunningProgram python(
        "/bin/sh -c \"python3 -c 'import time; print(time.clock_gettime(time.CLOCK_MONOTONIC) - "
        "time.clock_gettime(time.CLOCK_MONOTONIC_RAW))' > " +
            folder.unixPath("offset") + "\"",
        "");
    std::string text;
    if (!test::waitUntil([&] { return !(text = folder.read("offset")).empty(); },
                         milliseconds(20000))) {
        return std::nullopt;
    }
    return std::strtod(text.c_str(), nullptr);
}

// Reading number -> when its last byte went out, from lines such as
// "123.456789 reading colour 3,1230,980,50,1500,0".
std::map<int, double> lastBytes(const std::string& log) {
    std::map<int, double> sent;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        double at = 0;
        char kind[16] = {};
        int number = 0;
        if (std::sscanf(line.c_str(), "%lf reading %15s %d,", &at, kind, &number) == 3) {
            sent[number] = at;
        }
    }
    return sent;
}

// The time each reading's row came to hold all its texts.
struct ShownTimes final : TableObserver {
    std::vector<double> times;
    void columnsRebuilt() override {}
    void rowsReset() override {}
    void rowInserted(int) override {}
    void rowChanged(int) override {}
    void readingWritten(int, bool) override { times.push_back(rawSeconds()); }
};

class NoBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view text, std::string_view, MessageButtons,
                       MessageIcon) override {
        std::printf("message: %.*s\n", static_cast<int>(text.size()), text.data());
        return MessageAnswer::Ok;
    }
};

// Runs the window messages until the condition holds or the time is up.
void pumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[index];
}

}  // namespace

int main() {
    test::SharedFolder folder;
    const std::optional<double> offset = monotonicAheadOfRaw(folder);
    if (!offset) {
        std::printf("no clock offset: python3 did not answer\n");
        return 1;
    }
    std::vector<std::string> script = {"--instrument", "xrite-400"};
    for (int i = 1; i <= kReadings; ++i) {
        script.push_back("colour=" + std::to_string(i) + ",1230,980,50,1500,0");
    }
    test::WineSimulator simulator(script, testPort());
    if (!simulator.problem().empty()) {
        std::printf("%s\n", simulator.problem().c_str());
        return 1;
    }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    ini.write("Generic", "COMMNO", std::to_string(testPort()));
    ini.write("Generic", "BEEP", "0");
    ini.write("Generic", "VERSION", "M");
    ini.write("Instruments", "COM" + std::to_string(testPort()), "xrite-400");
    SystemClock clock;
    ShownTimes shown;
    MainWindowState window{ini, clock, 900};
    window.initialise();
    window.table().addObserver(&shown);

    HWND timers = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    auto polled = makeWin32DeviceLink(ini);
    LineLink lines{win32WatchedPortOpener(ini)};
    InstrumentReadingLink link{ini, *polled, lines};
    win32::WindowTimer timer{timers};
    win32::WindowTimer gapTimer{timers, win32::WindowTimer::kGapId};
    win32::Win32Beeper beeper;
    NoBoxes boxes;
    AcquisitionCycle cycle{window, link, timer, beeper, boxes};
    win32::Win32InputWatch watch{GetModuleHandleA(nullptr), [&] { cycle.inputWaiting(); }};
    cycle.setInputWatch(watch, gapTimer);

    cycle.startStopClicked();
    if (window.stopped()) {
        std::printf("COM%d did not start\n", testPort());
        return 1;
    }
    if (!simulator.lockForClient()) {
        std::printf("the simulator's terminal could not be locked\n");
        return 1;
    }
    pumpUntil([&] { return shown.times.size() >= kReadings; },
              static_cast<DWORD>(kReadingsDeadline.count()));
    const double idleStart = cpuSeconds();
    pumpUntil([] { return false; }, kIdleMs);
    const double idleCpu = (cpuSeconds() - idleStart) / (kIdleMs / 1000.0) * 100.0;
    cycle.startStopClicked();

    const std::map<int, double> sent = lastBytes(simulator.log());
    std::vector<double> latencies;
    for (std::size_t row = 0; row < shown.times.size(); ++row) {
        const auto found = sent.find(static_cast<int>(row) + 1);
        if (found != sent.end()) {
            latencies.push_back((shown.times[row] - (found->second - *offset)) * 1000.0);
        }
    }
    if (latencies.size() != kReadings) {
        std::printf("%zu of %d readings shown, %zu timed\n", shown.times.size(), kReadings,
                    latencies.size());
        return 1;
    }
    std::printf(
        "%d X-Rite 400 lines at 1200 baud: last byte to row p50 %.1f ms, p99 %.1f ms, "
        "max %.1f ms; CPU while waiting %.2f %% of a core over %lu s\n",
        kReadings, percentile(latencies, 0.5), percentile(latencies, 0.99),
        percentile(latencies, 1.0), idleCpu, kIdleMs / 1000);
    return 0;
}

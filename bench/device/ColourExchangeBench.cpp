// One whole colour exchange (poll, status, fetch, 12-byte reply) over a
// pseudo-terminal, with the simulator taking and sending every byte at
// 4800 baud. The wire alone needs 17 bytes x 10 bits / 4800 bit/s = 35.4 ms;
// "ratio" is the measured time over that, and should stay at or below 1.10.

#include <benchmark/benchmark.h>

#include <chrono>

#include "SimulatorProcess.h"
#include "device/DeviceLink.h"
#include "device/posix/PosixDeviceLink.h"

namespace tarvo {
namespace {

constexpr double WireSeconds = 17 * 10.0 / 4800;

void ColourExchangeAt4800Baud(benchmark::State& state) {
    test::SimulatorProcess simulator({"--pace", "endless=colour"}, "/dev/null");
    if (simulator.devicePath().empty()) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    DeviceLink link(posixPortOpener({simulator.devicePath(), "", "", ""}), nullptr);
    std::string message;
    if (link.open(1, 4800, 8, 0, 0, 2, nullptr, message) != 0) {
        state.SkipWithError(message.c_str());
        return;
    }
    ReadingValues values{};
    std::chrono::duration<double> spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int result = link.exchange(values);
        spent += std::chrono::steady_clock::now() - start;
        if (result != 0 || values[0] == 0) {
            state.SkipWithError("the exchange delivered no colour reading");
            return;
        }
    }
    const double perExchange = spent.count() / static_cast<double>(state.iterations());
    state.counters["wire_ms"] = WireSeconds * 1000;
    state.counters["ratio"] = perExchange / WireSeconds;
}

BENCHMARK(ColourExchangeAt4800Baud)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace tarvo

BENCHMARK_MAIN();

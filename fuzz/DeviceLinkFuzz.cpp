// The link over a scripted port whose answers, byte counts and failures all
// come from the input: open and every exchange answer one of their results,
// and the values obey the hand-out rules whatever the device sends.
#include <fuzzer/FuzzedDataProvider.h>

#include "FakeSerialPort.h"
#include "FuzzSupport.h"
#include "device/DeviceLink.h"

namespace tarvo::fuzz {
namespace {

using test::FakeSerialDevice;

// Scripts the next step of the device from the input.
void scriptStep(FuzzedDataProvider& input, FakeSerialDevice& device) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0:
            device.answer(input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 14)));
            break;
        case 1:
            device.silence();
            break;
        case 2:
            device.breakNextRead();
            break;
        case 3:
            device.failNextWrite();
            break;
        case 4:
            device.shortenNextWrite(input.ConsumeIntegralInRange<std::size_t>(0, 2));
            break;
        default:
            device.deliver(input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 14)));
            break;
    }
}

bool isE4OrE1(const std::string& message) {
    return message.find("! E4") != std::string::npos || message.find("! E1") != std::string::npos;
}

void checkExchange(int result, const ReadingValues& before, const ReadingValues& after,
                   int failuresBefore, int failuresAfter) {
    require(result >= DeviceLink::DeviceLost && result <= 1, "exchange answers a known result");
    if (result < 0) {
        require(before == after, "a lost device leaves the values untouched");
        return;
    }
    require(failuresAfter >= 0 && failuresAfter <= 4, "the failure count stays below five");
    require(failuresAfter <= failuresBefore + 1, "the failure count rises by one at most");
    for (std::size_t i = 0; i < after.size(); ++i) {
        require(after[i] == before[i] || (after[i] >= -32768 && after[i] <= 32767),
                "every new value is a 16-bit word");
    }
}

}  // namespace
}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    using namespace tarvo::fuzz;
    FuzzedDataProvider input(data, size);
    test::FakeSerialDevice device;
    if (input.ConsumeBool()) {
        device.holdPort(input.ConsumeIntegralInRange(1, 4));
    }
    const int steps = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < steps; ++i) {
        scriptStep(input, device);
    }
    DeviceLink link(device.opener(), [](std::chrono::milliseconds) {});
    std::string message = "untouched";
    const int comNumber = input.ConsumeIntegralInRange(-1, 8);
    const int opened =
        link.open(comNumber, 4800, 8, 0, 0, input.ConsumeIntegralInRange(0, 2), nullptr, message);
    if (opened != 0) {
        require(opened == -1, "open answers 0 or -1");
        require(isE4OrE1(message), "a failed open names E4 or E1");
        require(!link.isOpen() && !device.portOpen(), "a failed open leaves the port closed");
        return 0;
    }
    require(message == "untouched" && link.isOpen(), "a good open leaves the message alone");
    ReadingValues values{};
    while (input.remaining_bytes() > 0) {
        scriptStep(input, device);
        const ReadingValues before = values;
        const int failures = link.failureCount();
        const int result = link.exchange(values);
        checkExchange(result, before, values, failures, link.failureCount());
        if (result < 0) {
            link.setFailureCount(0);  // as the acquisition cycle does when it stops
        }
    }
    link.close();
    require(!device.portOpen(), "close releases the port");
    return 0;
}

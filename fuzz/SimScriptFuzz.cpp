// The simulator's script parser over any text: it accepts or names what it
// refuses, and every reading it accepts has a reply of the promised size.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "SimDevice.h"
#include "SimScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo::fuzz;
    using namespace tarvo::sim;
    FuzzedDataProvider input(data, size);
    const std::string commands = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();
    SimScript script;
    std::string error;
    if (!applyScriptText(script, text, error)) {
        require(!error.empty(), "a refused script says why");
        return 0;
    }
    for (const SimReading& reading : script.readings) {
        require(reading.words.size() == (reading.density ? 3u : 6u), "a reading has its words");
        const std::size_t whole = reading.words.size() * 2;
        const std::size_t expected = reading.shortTo ? std::min(*reading.shortTo, whole) : whole;
        require(replyBytes(reading).size() == expected, "a reply has the promised size");
    }
    // The device answers any command sequence without running away.
    if (script.everySeconds > 0 || script.endless) {
        script.readings.clear();
    }
    SimDevice device(std::move(script));
    device.advance(1.0);
    for (char letter : commands) {
        const SimAction action = device.command(static_cast<std::uint8_t>(letter));
        require(action.reply.size() <= 12 + text.size(), "an answer is a reply or scripted bytes");
        if (action.hangup) {
            break;
        }
    }
    return 0;
}

// The lines an instrument sends unasked, cut into reads and gaps by the input:
// whatever comes, every reading holds one or four channels in range, no line
// gives more than one outcome, and how the bytes were cut into reads does not
// change what is read. A reading written out again reads back the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <vector>

#include "FuzzSupport.h"
#include "device/LineParser.h"

namespace tarvo::fuzz {
namespace {

struct Outcome {
    std::vector<LineOutcome> readings;
    int dropped = 0;
};

Outcome drain(LineParser& parser) {
    Outcome outcome;
    while (const auto reading = parser.next()) {
        outcome.readings.push_back(*reading);
    }
    outcome.dropped = parser.droppedLines();
    return outcome;
}

void checkReading(const LineOutcome& reading) {
    require(reading.kind == LineOutcome::Kind::Reading, "only readings are handed out");
    require(reading.values[0] == 0 && reading.values[5] == 0, "no number and no percent");
    const std::size_t channels = reading.reading == ReadingKind::Colour ? 4 : 1;
    for (std::size_t i = 1; i < reading.values.size(); ++i) {
        require(i <= channels || reading.values[i] == 0, "a density reading has one value");
        require(reading.values[i] >= -kLargestLineValue && reading.values[i] <= kLargestLineValue,
                "values stay within a density's range");
    }
}

std::string thousandthsText(int value) {
    char text[24];
    std::snprintf(text, sizeof text, "%s%d.%03d", value < 0 ? "-" : "", std::abs(value) / 1000,
                  std::abs(value) % 1000);
    return text;
}

// The reading in the 500 series' layout, three decimals, reads back the same.
void checkRoundTrip(const LineOutcome& reading) {
    std::string line;
    if (reading.reading == ReadingKind::Density) {
        line = "V " + thousandthsText(reading.values[1]);
    } else {
        line = "C " + thousandthsText(reading.values[1]) + ",M " +
               thousandthsText(reading.values[2]) + ",Y " + thousandthsText(reading.values[3]) +
               ",V " + thousandthsText(reading.values[4]);
    }
    const LineOutcome again = readLine(line);
    require(again.kind == LineOutcome::Kind::Reading && again.reading == reading.reading &&
                again.values == reading.values,
            "a reading written out reads back the same");
}

}  // namespace
}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    using namespace tarvo::fuzz;
    FuzzedDataProvider input(data, size);
    LineParser inReads;
    LineParser byteByByte;
    int lineEnds = 0;
    while (input.remaining_bytes() > 0) {
        const std::vector<std::uint8_t> read =
            input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 600));
        inReads.feed(read.data(), read.size());
        for (const std::uint8_t byte : read) {
            byteByByte.feed(&byte, 1);
            lineEnds += (byte & 0x7F) == '\n' ? 1 : 0;
        }
        if (input.ConsumeBool()) {
            lineEnds += inReads.lineBegun() ? 1 : 0;
            inReads.gapPassed();
            byteByByte.gapPassed();
        }
        require(inReads.lineBegun() == byteByByte.lineBegun(), "the cut does not matter");
    }
    const Outcome whole = drain(inReads);
    const Outcome single = drain(byteByByte);
    require(whole.dropped == single.dropped && whole.readings.size() == single.readings.size(),
            "the cut into reads does not matter");
    require(static_cast<int>(whole.readings.size()) + whole.dropped <= lineEnds,
            "each line ends in one reading, one dropped line or nothing");
    for (std::size_t i = 0; i < whole.readings.size(); ++i) {
        checkReading(whole.readings[i]);
        require(whole.readings[i].values == single.readings[i].values, "the same readings");
        checkRoundTrip(whole.readings[i]);
    }
    return 0;
}

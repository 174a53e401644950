#include "LineFormat.h"

#include <gtest/gtest.h>

#include "device/LineParser.h"

namespace tarvo {
namespace {

using sim::LineOptions;

std::string text(const sim::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

sim::SimReading colourReading() {
    sim::SimReading reading;
    reading.words = {7, 1234, -200, 0, 3000, 500};
    return reading;
}

sim::SimReading densityReading() {
    sim::SimReading reading;
    reading.density = true;
    reading.words = {8, 1455, 125};
    return reading;
}

TEST(SimLineFormat, EachSeriesWritesItsPublishedLayout) {
    const sim::LineValues colour = sim::lineValues(colourReading());
    const sim::LineValues density = sim::lineValues(densityReading());
    LineOptions options;
    EXPECT_EQ(text(sim::readingLine(colour, options)), "V3.00 C1.23 M-0.20 Y0.00 \r\n");
    EXPECT_EQ(text(sim::readingLine(density, options)), "V1.46\r\n");
    options.series = LineOptions::Series::XRite500;
    EXPECT_EQ(text(sim::readingLine(colour, options)), "C 1.23,M -0.20,Y 0.00,V 3.00\r\n");
    EXPECT_EQ(text(sim::readingLine(density, options)), "V 1.46\r\n");
}

TEST(SimLineFormat, OptionsChangeSeparatorsLineEndAndPoint) {
    const sim::LineValues colour = sim::lineValues(colourReading());
    LineOptions options;
    options.crSeparator = true;
    options.crEnd = true;
    EXPECT_EQ(text(sim::readingLine(colour, options)), "V3.00\rC1.23\rM-0.20\rY0.00\r\r");
    options = {};
    options.noPoint = true;
    EXPECT_EQ(text(sim::readingLine(colour, options)), "V300 C123 M-20 Y0 \r\n");
}

TEST(SimLineFormat, ParitySetsTheTopBitOfSevenBitCharacters) {
    LineOptions options;
    options.parity = LineOptions::Parity::Even;
    // 'V' 0x56 has four bits set, '1' 0x31 three.
    const sim::Bytes even = sim::readingLine(sim::lineValues(densityReading()), options);
    EXPECT_EQ(even[0], 0x56);
    EXPECT_EQ(even[1], 0xB1);
    options.parity = LineOptions::Parity::Mark;
    for (const std::uint8_t byte : sim::readingLine(sim::lineValues(densityReading()), options)) {
        EXPECT_EQ(byte & 0x80, 0x80);
    }
}

// What the simulator sends must come back as the values it logs, through
// tarvo's own parser, whichever options the instrument is set to; its header
// and noise lines must be dropped, never read.
TEST(SimLineFormat, TarvoReadsBackExactlyTheLoggedValuesUnderEveryOption) {
    for (int mask = 0; mask < 64; ++mask) {
        LineOptions options;
        options.series = mask & 1 ? LineOptions::Series::XRite500 : LineOptions::Series::XRite400;
        options.crSeparator = (mask & 2) != 0;
        options.crEnd = (mask & 4) != 0;
        options.noPoint = (mask & 8) != 0;
        options.parity = static_cast<LineOptions::Parity>(mask >> 4);
        LineParser parser;
        int lines = 0;
        for (const auto& reading : {colourReading(), densityReading()}) {
            for (const sim::Bytes& line : {sim::headerLine(options), sim::noiseLine(options, lines),
                                           sim::readingLine(sim::lineValues(reading), options)}) {
                parser.feed(line.data(), line.size());
                parser.gapPassed();  // a CR-ended line ends only here
                ++lines;
            }
        }
        const auto colour = parser.next();
        const auto density = parser.next();
        ASSERT_TRUE(colour && density) << mask;
        EXPECT_EQ(colour->values, (ReadingValues{0, 1230, -200, 0, 3000, 0})) << mask;
        EXPECT_EQ(density->values, (ReadingValues{0, 1460, 0, 0, 0, 0})) << mask;
        EXPECT_EQ(density->reading, ReadingKind::Density) << mask;
        EXPECT_FALSE(parser.next()) << mask;
        EXPECT_EQ(parser.droppedLines(), 4) << mask;
    }
}

}  // namespace
}  // namespace tarvo

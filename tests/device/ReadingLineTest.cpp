#include "device/ReadingLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/LineParser.h"

namespace tarvo {
namespace {

using Kind = LineOutcome::Kind;

// Cyan, magenta, yellow and black in thousandths, as a colour reading holds them.
ReadingValues colour(int cyan, int magenta, int yellow, int black) {
    return {0, cyan, magenta, yellow, black, 0};
}

ReadingValues density(int value) {
    return {0, value, 0, 0, 0, 0};
}

void expectColour(std::string_view line, const ReadingValues& values) {
    const LineOutcome outcome = readLine(line);
    ASSERT_EQ(outcome.kind, Kind::Reading) << line;
    EXPECT_EQ(outcome.reading, ReadingKind::Colour) << line;
    EXPECT_EQ(outcome.values, values) << line;
}

void expectDensity(std::string_view line, int value) {
    const LineOutcome outcome = readLine(line);
    ASSERT_EQ(outcome.kind, Kind::Reading) << line;
    EXPECT_EQ(outcome.reading, ReadingKind::Density) << line;
    EXPECT_EQ(outcome.values, density(value)) << line;
}

TEST(ReadingLine, BothSeriesLayoutsGiveTheSameColourReading) {
    const ReadingValues expected = colour(1380, 1410, 1020, 1450);
    expectColour("V1.45 C1.38 M1.41 Y1.02 ", expected);      // 400 series
    expectColour("C 1.38,M 1.41,Y 1.02,V 1.45", expected);   // 500 series
    expectColour("V1.45\rC1.38\rM1.41\rY1.02\r", expected);  // CR as field separator
    expectColour("V1.45\tC1.38, M 1.41  Y1.02", expected);
}

TEST(ReadingLine, FieldsAreKeyedByTheirLetterInAnyOrderAndCase) {
    const ReadingValues expected = colour(1380, 1410, 1020, 1450);
    expectColour("y1.02 m1.41 v1.45 c1.38", expected);
    expectColour("M 1.41,v 1.45,C 1.38,y 1.02", expected);
}

TEST(ReadingLine, OneFieldIsADensityReadingOfThatValue) {
    expectDensity("V1.45", 1450);
    expectDensity("V 1.45", 1450);
    expectDensity("  c0.98 ", 980);
}

TEST(ReadingLine, ValuesWithoutAPointAreHundredths) {
    expectColour("V145 C138 M141 Y102", colour(1380, 1410, 1020, 1450));
    expectDensity("V5", 50);
    expectDensity("V0", 0);
}

TEST(ReadingLine, SignsAndFurtherDecimalsAreRead) {
    expectColour("V-0.02 C-0.01 M0.00 Y+0.03", colour(-10, 0, 30, -20));
    expectDensity("C -0.05", -50);
    expectDensity("V1.4", 1400);
    expectDensity("V1.", 1000);
    expectDensity("V.45", 450);
    expectDensity("V1.456", 1456);
    expectDensity("V1.4565", 1457);
    expectDensity("V1.45649", 1456);
    expectDensity("V-1.4565", -1457);
    expectDensity("V32.767", 32767);
}

TEST(ReadingLine, AnythingButOneOrFourChannelsIsDroppedWhole) {
    const std::vector<std::string> dropped = {
        "V1.45 C1.38",                    // two fields
        "V1.45 C1.38 M1.41",              // three
        "V1.45 C1.38 M1.41 Y1.02 V1.45",  // five, V twice
        "V1.45 V1.38 M1.41 Y1.02",        // four, but V twice
        "K1.45",                          // a letter of no channel
        "V1.45 C1.38 M1.41 K1.02",
        "X-RITE 408",  // a header
        "COLOR",       // a letter followed by no number
        "V",
        "V -",
        "V.",
        "V1.45x",  // a number running into other text
        "V1.4.5",
        "V1,45",  // a comma splits it: "45" is no field
        "V 1.45 C",
        "V32.768",      // beyond any density
        "V1234567890",  // too many digits to be one
        "V1.0000000001",
        "\x01\x02\x7F",
        "V1.45\x03",
    };
    for (const std::string& line : dropped) {
        EXPECT_EQ(readLine(line).kind, Kind::Dropped) << line;
    }
}

TEST(ReadingLine, ALineOfSeparatorsIsBlankNotDropped) {
    for (const char* line : {"", " ", "\r", ", ,\t\r"}) {
        EXPECT_EQ(readLine(line).kind, Kind::Blank) << line;
    }
}

// The parser's tests feed text and take the readings it made.
class LineParserTest : public ::testing::Test {
  protected:
    void feed(std::string_view text) {
        parser.feed(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    std::vector<ReadingValues> taken() {
        std::vector<ReadingValues> readings;
        while (const auto reading = parser.next()) {
            readings.push_back(reading->values);
        }
        return readings;
    }

    LineParser parser;
};

TEST_F(LineParserTest, LineFeedEndsEachLineAndReadingsComeInOrder) {
    feed("V1.45 C1.38 M1.41 Y1.02 \r\nV0.50\r\nC 0.10,M 0.20,Y 0.30,V 0.40\n");
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{colour(1380, 1410, 1020, 1450), density(500),
                                                   colour(100, 200, 300, 400)}));
    EXPECT_FALSE(parser.lineBegun());
    EXPECT_EQ(parser.droppedLines(), 0);
}

TEST_F(LineParserTest, ALineSplitAcrossReadsIsOneReading) {
    feed("V1.4");
    EXPECT_TRUE(parser.lineBegun());
    EXPECT_TRUE(taken().empty());
    feed("5 C1.38 M1.41 Y1.");
    feed("02 \r\n");
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{colour(1380, 1410, 1020, 1450)}));
}

TEST_F(LineParserTest, CrAloneEndsNothingUntilTheGapPasses) {
    feed("V1.45 C1.38 M1.41 Y1.02 \r");
    EXPECT_TRUE(taken().empty());
    EXPECT_TRUE(parser.lineBegun());
    parser.gapPassed();
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{colour(1380, 1410, 1020, 1450)}));
    EXPECT_FALSE(parser.lineBegun());
}

TEST_F(LineParserTest, CrSeparatedAndCrEndedFieldsAreOneReadingAtTheGap) {
    feed("V1.45\rC1.38\rM1.41\rY1.02\r");
    parser.gapPassed();
    feed("V0.77\r");
    parser.gapPassed();
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{colour(1380, 1410, 1020, 1450), density(770)}));
}

TEST_F(LineParserTest, AGapWithNothingBegunChangesNothing) {
    parser.gapPassed();
    feed("V0.50\n\r");  // LF CR: the CR left over is a blank line at the gap
    parser.gapPassed();
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{density(500)}));
    EXPECT_EQ(parser.droppedLines(), 0);
}

// The 400 series sends 7 data bits with the parity bit held at 0, but other
// parities set the top bit of some bytes; NULs may pad the line.
TEST_F(LineParserTest, TopBitsAreDroppedAndNulsSkipped) {
    std::string marked;
    for (const char c : std::string("V1.45 C1.38 M1.41 Y1.02 \r\n")) {
        marked += static_cast<char>(c | 0x80);
    }
    feed(marked);
    feed(
        std::string("\0V\0\x00"
                    "0.5\0\r\n\0\0",
                    12));
    feed(std::string("\x80V1\x80.00\r\x8A", 9));
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{colour(1380, 1410, 1020, 1450), density(500),
                                                   density(1000)}));
    EXPECT_EQ(parser.droppedLines(), 0);
}

TEST_F(LineParserTest, HeaderAndNoiseLinesAreDroppedAndCounted) {
    feed("X-Rite 418 Densitometer\r\n");
    feed("V1.45\r\n");
    feed("\x01\x7F garbage\r\n");
    feed("V1.45 C1.38\r\n");
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{density(1450)}));
    EXPECT_EQ(parser.droppedLines(), 3);
    EXPECT_EQ(parser.lastDropped(), "V1.45 C1.38\\x0D");
}

TEST_F(LineParserTest, ControlCharactersOfADroppedLineAreShownEscaped) {
    feed("\x01\x7F garbage\r\n");
    EXPECT_EQ(parser.lastDropped(), "\\x01\\x7F garbage\\x0D");
}

TEST_F(LineParserTest, ALineOverTheLimitIsDroppedWholeAndTheNextIsRead) {
    feed("V1.45" + std::string(LineParser::kLongestLine - 5, ' ') + "\n");  // 256 bytes: kept
    feed("V1.45" + std::string(LineParser::kLongestLine - 4, ' ') + "\n");  // 257: dropped
    feed("V0.10\n");
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{density(1450), density(100)}));
    EXPECT_EQ(parser.droppedLines(), 1);
    EXPECT_EQ(parser.lastDropped(), "(over 256 bytes)");
}

TEST_F(LineParserTest, ALineThatNeverEndsIsDroppedOnceAtTheGap) {
    const std::string noise(4096, 'A');
    for (int i = 0; i < 256; ++i) {
        feed(noise);  // a megabyte without a line end
    }
    EXPECT_TRUE(parser.lineBegun());
    EXPECT_TRUE(taken().empty());
    parser.gapPassed();
    feed("V0.10\r\n");
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{density(100)}));
    EXPECT_EQ(parser.droppedLines(), 1);
}

TEST_F(LineParserTest, ResetForgetsHalfALineAndTheCounts) {
    feed("noise\nC0.1");
    parser.reset();
    feed(" V0.50\r\n");
    EXPECT_EQ(taken(), (std::vector<ReadingValues>{density(500)}));
    EXPECT_EQ(parser.droppedLines(), 0);
}

}  // namespace
}  // namespace tarvo

#include "base/Cp1252.h"

#include <gtest/gtest.h>

namespace tarvo::cp1252 {
namespace {

struct HighByte {
    unsigned char byte;
    const char* utf8;
};

// Every byte from 0x80 to 0x9F, the undefined five as their C1 controls.
constexpr HighByte kTable[] = {
    {0x80, "\u20AC"}, {0x81, "\u0081"}, {0x82, "\u201A"}, {0x83, "\u0192"}, {0x84, "\u201E"},
    {0x85, "\u2026"}, {0x86, "\u2020"}, {0x87, "\u2021"}, {0x88, "\u02C6"}, {0x89, "\u2030"},
    {0x8A, "\u0160"}, {0x8B, "\u2039"}, {0x8C, "\u0152"}, {0x8D, "\u008D"}, {0x8E, "\u017D"},
    {0x8F, "\u008F"}, {0x90, "\u0090"}, {0x91, "\u2018"}, {0x92, "\u2019"}, {0x93, "\u201C"},
    {0x94, "\u201D"}, {0x95, "\u2022"}, {0x96, "\u2013"}, {0x97, "\u2014"}, {0x98, "\u02DC"},
    {0x99, "\u2122"}, {0x9A, "\u0161"}, {0x9B, "\u203A"}, {0x9C, "\u0153"}, {0x9D, "\u009D"},
    {0x9E, "\u017E"}, {0x9F, "\u0178"},
};

TEST(Cp1252, HighBytesAreWindowsCharactersNotLatin1Controls) {
    for (const HighByte& entry : kTable) {
        const std::string byte(1, static_cast<char>(entry.byte));
        EXPECT_EQ(fromCp1252(byte), entry.utf8) << int(entry.byte);
        EXPECT_EQ(toCp1252(entry.utf8), byte) << int(entry.byte);
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(toCp1252("Preis 5 \u20AC f\u00FCr Cyan"), "Preis 5 \x80 f\xFCr Cyan");
}

TEST(Cp1252, CharactersOutsideTheCodePageAreRefusedNotReplaced) {
    EXPECT_FALSE(toCp1252("\u0416"));            // Cyrillic
    EXPECT_FALSE(toCp1252("ok \u20AC \u4E2D"));  // one bad character spoils the text
    EXPECT_FALSE(toCp1252("\U0001F600"));
    EXPECT_FALSE(toCp1252("\xFC"));      // not UTF-8 at all
    EXPECT_FALSE(toCp1252("\xC0\xAF"));  // overlong "/"
    EXPECT_FALSE(toCp1252("\xE2\x82"));  // cut short
    EXPECT_TRUE(representable("/home/anna/Dr\u00FCcke/\u00C6.cm1"));
}

}  // namespace
}  // namespace tarvo::cp1252

#include "SoakCheck.h"

#include <gtest/gtest.h>

#include "app/JournalRecord.h"

namespace tarvo::soak {
namespace {

const char* const kLog =
    "0.10 cmd XK\n0.10 send 31\n0.11 cmd XD\n0.12 send 000704d2ff3800000bb801f4\n"
    "0.35 cmd XK\n0.35 send 21\n0.36 cmd XD\n0.37 send 0001012c03e8\n0.60 cmd XK\n0.60 send 23\n";

Row colourRow() {
    return {"1", "  7", "1.23", "-0.20", "0.00", "3.00", "50.00", "K", "10: 0: 0", ""};
}

// A poll's one-byte answers are no reading; a fetch's reply is, in order.
TEST(SoakCheck, SimulatorLogGivesTheFetchedReadingsInOrder) {
    const auto sent = sentReadings(kLog);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_FALSE(sent[0].density);
    EXPECT_EQ(sent[0].values, (ReadingValues{7, 1234, -200, 0, 3000, 500}));
    EXPECT_TRUE(sent[1].density);
    EXPECT_FALSE(differsFromSent(colourRow(), sent[0]));
    Row wrong = colourRow();
    wrong[3] = "-0.19";
    EXPECT_TRUE(differsFromSent(wrong, sent[0]));
}

TEST(SoakCheck, JournalRowsTakeTheCommentsWrittenIntoTheNewestRow) {
    std::string journal = encodeRecord({"tarvo-journal", {"1"}});
    journal += encodeRecord({"add", {"1", "  7", "1.23"}});
    journal += encodeRecord({"cell", {"0", "9", "soak 1"}});
    journal += "12 0badc0de torn\n";
    const auto rows = journalledRows(journal);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{"1", "  7", "1.23", "", "", "", "", "", "", "soak 1"}));
}

TEST(SoakCheck, LostAndDifferentReadingsAreCountedApart) {
    const auto sent = sentReadings(kLog);
    SoakCounts counts;
    compareReadings(sent, {colourRow()}, {}, counts);
    EXPECT_EQ(counts.lost, 2) << "one never shown, one never journalled";
    EXPECT_EQ(counts.mismatched, 0);
}

TEST(SoakCheck, SheetRowHoldsTheLastReadingOfItsNumberAsExcelReadsTheTexts) {
    Row later = colourRow();
    later[1] = "  9";
    const auto expected = expectedSheet({colourRow(), later});
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_EQ(expected[0][1], "  9") << "a layout switch numbers from 1 again";
    std::vector<SheetCell> row{{false, true, false, 1, "1"},
                               {false, true, false, 9, "9"},
                               {false, true, false, 1.23, "1.23"},
                               {false, true, false, -0.2, "-0.2"},
                               {false, true, false, 0, "0"},
                               {false, true, false, 3, "3"},
                               {false, true, false, 50, "50"},
                               {false, false, false, 0, "K"},
                               {false, true, true, 0.4167, "10:00:00"},
                               {}};
    SoakCounts counts;
    compareSheet(expected, {row}, counts);
    EXPECT_EQ(counts.placed, 1);
    row[4] = {false, true, true, 0.0, "00:00:00"};
    compareSheet(expected, {row}, counts);
    EXPECT_EQ(counts.placed, 2) << "a density typed over a time keeps the time format";
    row[7].text = "C";
    compareSheet(expected, {row}, counts);
    EXPECT_EQ(counts.mismatched, 1);
    compareSheet(expected, {}, counts);
    EXPECT_EQ(counts.lost, 1);
}

}  // namespace
}  // namespace tarvo::soak

#include "SoakCheck.h"

#include <gtest/gtest.h>

#include "app/journal/JournalRecord.h"

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

TEST(SoakCheck, ALineInstrumentsReadingsAreTakenFromItsReadingEvents) {
    const auto sent = sentReadings(
        "1.0 client\n1.3 line 56312E34360D0A\n1.4 reading density 1,1460,0\n"
        "2.0 line 56332E303020433120\n2.1 reading colour 2,1230,-200,0,3000,0\n");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[0].density);
    EXPECT_EQ(sent[0].values, (ReadingValues{1, 1460, 0, 0, 0, 0}));
    EXPECT_FALSE(sent[1].density);
    EXPECT_EQ(sent[1].values, (ReadingValues{2, 1230, -200, 0, 3000, 0}));
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

// The server's record as the client writes a row: its ten cells in order.
std::string recordOf(const Row& row) {
    std::string record = "A" + row[0] + "\tI4 " + row[0] + "\n";
    for (std::size_t column = 1; column < row.size(); ++column)
        record += std::string(1, static_cast<char>('A' + column)) + row[0] + "\tBSTR \"" +
                  row[column] + "\"\n";
    return record;
}

Row numbered(int number) {
    Row row = colourRow();
    row[0] = std::to_string(number);
    row[1] = "  " + std::to_string(number + 6);
    return row;
}

// The server records what the client sent, so the texts must match byte for
// byte (a dropped leading blank is a fault here), and every write counts: a
// wrong write that a later one covered is still a fault.
TEST(SoakCheck, EveryRecordedWriteIsComparedInOrderExactly) {
    const std::vector<Row> shown{numbered(1), numbered(2)};
    const std::vector<Placing> must(2, Placing::Must);
    SoakCounts counts;
    compareWrites(shown, must,
                  recordedWrites(recordOf(shown[0]) + "torn line\n" + recordOf(shown[1])), counts);
    EXPECT_EQ(counts.placed, 2) << (counts.why.empty() ? "" : counts.why[0]);
    EXPECT_EQ(counts.mismatched, 0);

    counts = {};
    compareWrites(
        shown, must,
        recordedWrites("A1\tI4 1\nB1\tBSTR \"7\"\n" + recordOf(shown[0]) + recordOf(shown[1])),
        counts);
    EXPECT_GE(counts.mismatched, 1) << "\"7\" for \"  7\", though written again rightly after";

    counts = {};
    compareWrites(shown, must, recordedWrites(recordOf(shown[1]) + recordOf(shown[0])), counts);
    EXPECT_GE(counts.lost + counts.mismatched, 1) << "the rows written in the other order";
    EXPECT_FALSE(recordHolds(SheetCell{}, ""));
}

// Rows that came while the sheet was closed must stay out of it; those that
// came while InitEXCEL or CloseEXCEL was under way may go either way.
TEST(SoakCheck, WritesFollowWhetherTheSheetWasOpenWhenTheRowCame) {
    const std::vector<Row> shown{numbered(1), numbered(2), numbered(3), numbered(4)};
    const std::vector<Placing> placing{Placing::Must, Placing::May, Placing::MustNot, Placing::May};
    SoakCounts counts;
    compareWrites(shown, placing, recordedWrites(recordOf(shown[0]) + recordOf(shown[3])), counts);
    EXPECT_EQ(counts.placed, 2);
    EXPECT_EQ(counts.placedMay, 1);
    EXPECT_EQ(counts.lost + counts.mismatched, 0) << (counts.why.empty() ? "" : counts.why[0]);

    counts = {};
    compareWrites(shown, placing, recordedWrites(recordOf(shown[2])), counts);
    EXPECT_EQ(counts.lost, 1) << "the first row, which had to be written";
    EXPECT_EQ(counts.mismatched, 1) << "the row written while the sheet was closed";

    counts = {};
    std::string partial = recordOf(shown[0]);
    partial.resize(partial.find("F1"));
    compareWrites(shown, placing, recordedWrites(partial + recordOf(shown[1])), counts);
    EXPECT_EQ(counts.mismatched, 1) << "five of the first row's ten cells";
    EXPECT_EQ(counts.placed, 1) << "the next row is still found";
}

TEST(SoakCheck, FinalTableIsComparedWithTheLastRowsWatchedNewestFirst) {
    Row second = colourRow();
    second[0] = "2";
    SoakCounts counts;
    compareTable({colourRow(), second}, {second, colourRow()}, counts);
    EXPECT_EQ(counts.mismatched, 0);
    compareTable({colourRow(), second}, {second}, counts);
    EXPECT_EQ(counts.mismatched, 0) << "a layout switch emptied the table before";
    compareTable({second}, {colourRow(), second}, counts);
    EXPECT_EQ(counts.mismatched, 2) << "one watched wrongly, one never watched";
}

}  // namespace
}  // namespace tarvo::soak

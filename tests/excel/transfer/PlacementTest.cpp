#include "excel/transfer/Placement.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "TransferFixture.h"

namespace tarvo {
namespace {

using test::rowOf;
using test::tableOfReadings;
using test::writtenCells;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::int32_t kHorizontal = 1;
constexpr std::int32_t kVertical = 2;

class PlacementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.client = std::make_unique<ExcelLink>(excel.factory(), boxes);
        ASSERT_EQ(session.client->newWorkbook(), ExcelError::Success);
        excel.clearCalls();
    }

    void layout(std::int32_t direction, TransferSet set1, TransferSet set2 = {1, 1, 1, 0}) {
        session.layout = {direction, set1, set2};
    }

    // Places the reading numbered n and answers the cells it wrote.
    std::vector<std::string> place(int n) {
        excel.clearCalls();
        failed = placeReading(session, table, rowOf(table, n));
        return writtenCells(excel.calls());
    }

    test::FakeExcel excel;
    test::RecordingMessageBoxes boxes;
    TransferSession session;
    ReadingTable table = tableOfReadings(5);
    bool failed = false;
};

// --- the worked examples ---------------------------------------------------

TEST_F(PlacementTest, VerticalFirstReadingFillsTheFirstRowWithItsNumberAsNumber) {
    layout(kVertical, {1, 1, 1, 6});
    EXPECT_THAT(place(1), ElementsAre("A1=I4 1", "B1=BSTR \"r1c1\"", "C1=BSTR \"r1c2\"",
                                      "D1=BSTR \"r1c3\"", "E1=BSTR \"r1c4\"", "F1=BSTR \"r1c5\""));
    EXPECT_FALSE(failed);
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

TEST_F(PlacementTest, VerticalThirdReadingFromRowTwoLandsInRowFour) {
    layout(kVertical, {2, 1, 1, 6});
    EXPECT_THAT(place(3), ElementsAre("A4=I4 3", "B4=BSTR \"r3c1\"", "C4=BSTR \"r3c2\"",
                                      "D4=BSTR \"r3c3\"", "E4=BSTR \"r3c4\"", "F4=BSTR \"r3c5\""));
}

TEST_F(PlacementTest, HorizontalFifthReadingRunsDownColumnF) {
    layout(kHorizontal, {1, 2, 3, 4});
    EXPECT_THAT(place(5), ElementsAre("F1=BSTR \"r5c2\"", "F2=BSTR \"r5c3\"", "F3=BSTR \"r5c4\"",
                                      "F4=BSTR \"r5c5\""));
}

TEST_F(PlacementTest, SecondSetAloneWritesItsOwnRun) {
    layout(kVertical, {1, 1, 1, 0}, {10, 4, 9, 2});
    EXPECT_THAT(place(2), ElementsAre("D11=BSTR \"r2c8\"", "E11=BSTR \"r2c9\""));
}

TEST_F(PlacementTest, TableColumnsPastTenAreNotWritten) {
    layout(kVertical, {1, 1, 10, 3});
    // Column 10 exists in no table layout and goes as empty text.
    EXPECT_THAT(place(1), ElementsAre("A1=BSTR \"r1c9\"", "B1=BSTR \"\""));
}

// --- fills -----------------------------------------------------------------

TEST_F(PlacementTest, VerticalReadingsFillConsecutiveRows) {
    layout(kVertical, {1, 1, 1, 6});
    for (int n = 1; n <= 3; ++n) {
        const std::vector<std::string> cells = place(n);
        ASSERT_EQ(cells.size(), 6u);
        const std::string row = std::to_string(n);
        EXPECT_EQ(cells.front(), "A" + row + "=I4 " + row);
        EXPECT_EQ(cells.back(), "F" + row + "=BSTR \"r" + row + "c5\"");
    }
}

TEST_F(PlacementTest, HorizontalReadingsFillConsecutiveColumns) {
    layout(kHorizontal, {1, 1, 1, 6});
    EXPECT_THAT(place(1), ElementsAre("A1=I4 1", "A2=BSTR \"r1c1\"", "A3=BSTR \"r1c2\"",
                                      "A4=BSTR \"r1c3\"", "A5=BSTR \"r1c4\"", "A6=BSTR \"r1c5\""));
    EXPECT_THAT(place(2), ElementsAre("B1=I4 2", "B2=BSTR \"r2c1\"", "B3=BSTR \"r2c2\"",
                                      "B4=BSTR \"r2c3\"", "B5=BSTR \"r2c4\"", "B6=BSTR \"r2c5\""));
}

TEST_F(PlacementTest, UnknownDirectionCountsAsVertical) {
    layout(0, {1, 1, 1, 1});
    EXPECT_THAT(place(3), ElementsAre("A3=I4 3"));
}

TEST_F(PlacementTest, FirstListColumnZeroSkipsTheFirstTargetCell) {
    layout(kVertical, {1, 1, 0, 3});
    EXPECT_THAT(place(1), ElementsAre("B1=I4 1", "C1=BSTR \"r1c1\""));
}

TEST_F(PlacementTest, FirstListColumnTwelveWritesNothingWhateverTheLength) {
    layout(kVertical, {1, 1, 12, INT_MAX});
    EXPECT_THAT(place(1), IsEmpty());
    EXPECT_FALSE(failed);
}

TEST_F(PlacementTest, FarNegativeFirstListColumnWritesNothingAndEndsAtOnce) {
    layout(kVertical, {1, 1, INT_MIN + 1, INT_MAX});
    EXPECT_THAT(place(1), IsEmpty());
}

TEST_F(PlacementTest, ReadingWrittenAgainLandsOnTheSameCells) {
    layout(kVertical, {1, 1, 1, 2});
    const auto first = place(2);
    table.setCell(rowOf(table, 2), 1, "again");
    EXPECT_THAT(place(2), ElementsAre(first[0], "B2=BSTR \"again\""));
}

TEST_F(PlacementTest, EachWriteActivatesTheSheetAndTheCell) {
    layout(kVertical, {1, 1, 1, 1});
    place(1);
    EXPECT_THAT(excel.calls(),
                ElementsAre("Worksheet.get 0xC5 BSTR \"A1\", BSTR \"A1\"", "Range.put 0x6 I4 1",
                            "Worksheet.call 0x130", "Range.call 0x130"));
}

// --- failures --------------------------------------------------------------

TEST_F(PlacementTest, WithoutClientNothingHappens) {
    session.client.reset();
    layout(kVertical, {1, 1, 1, 6});
    EXPECT_THAT(place(1), IsEmpty());
    EXPECT_FALSE(failed);
    EXPECT_THAT(excel.calls(), IsEmpty());
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

TEST_F(PlacementTest, RowWithoutNumberIsReadingZeroAndOutOfRange) {
    layout(kVertical, {1, 1, 1, 6});
    table.setCell(rowOf(table, 1), 0, "x");
    EXPECT_THAT(place(1), IsEmpty());
    EXPECT_TRUE(failed);
    EXPECT_THAT(boxes.texts(), ElementsAre("Row or Column Value out of Range."));
}

TEST_F(PlacementTest, StoredInvalidColumnReportsOutOfRangeOnce) {
    layout(kVertical, {1, -1, 1, 6});
    EXPECT_THAT(place(1), IsEmpty());
    EXPECT_THAT(boxes.texts(), ElementsAre("Row or Column Value out of Range."));
}

TEST_F(PlacementTest, CellsBeforeAnOutOfRangeTargetStayWritten) {
    layout(kHorizontal, {65535, 1, 1, 6});
    EXPECT_THAT(place(1), ElementsAre("A65535=I4 1", "A65536=BSTR \"r1c1\""));
    EXPECT_TRUE(failed);
    EXPECT_THAT(boxes.texts(), ElementsAre("Row or Column Value out of Range."));
}

TEST_F(PlacementTest, FailureInSetOneStopsSetTwo) {
    layout(kVertical, {1, 1, 1, 3}, {1, 5, 1, 3});
    excel.fail("Range.put 0x6");
    place(1);
    EXPECT_TRUE(failed);
    EXPECT_EQ(
        std::count_if(excel.calls().begin(), excel.calls().end(),
                      [](const std::string& call) { return call.rfind("Range.put", 0) == 0; }),
        1);
    EXPECT_THAT(boxes.texts(), ElementsAre("An unspecified Error occurred."));
}

TEST_F(PlacementTest, WorkbookClosedByUserIsReportedOnceAndNothingIsWritten) {
    layout(kVertical, {1, 1, 1, 6});
    excel.fireBeforeClose();
    EXPECT_THAT(place(1), IsEmpty());
    EXPECT_TRUE(failed);
    EXPECT_THAT(boxes.texts(), ElementsAre("Worksheet or Application was closed by user."));
}

TEST_F(PlacementTest, HugeReadingNumberEndsOutOfRangeWithoutOverflow) {
    layout(kVertical, {INT_MAX, 1, 1, 1});
    table.setCell(rowOf(table, 1), 0, "2147483647");
    EXPECT_THAT(place(1), IsEmpty());
    EXPECT_THAT(boxes.texts(), ElementsAre("Row or Column Value out of Range."));
}

}  // namespace
}  // namespace tarvo

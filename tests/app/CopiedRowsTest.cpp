#include "app/CopiedRows.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

ReadingTable densityTable() {
    ReadingTable table(600);
    table.switchMode(ReadingKind::Density, 600);
    for (const char* device : {"  1", "  2", "  3"}) {
        table.addRow();
        table.setCell(0, 1, device);
        table.setCell(0, 2, "1.25");
    }
    return table;
}

constexpr const char* kHeadings = "1: No.\tNo. Dens\tDensity\tPercent\tTime\tComment";

TEST(CopiedRows, NoSelectionCopiesEveryRowNewestFirstWithHeadings) {
    const ReadingTable table = densityTable();
    EXPECT_EQ(copiedRowsText(table), std::string(kHeadings) +
                                         "\n"
                                         "3\t3\t1.25\t\t\t\n"
                                         "2\t2\t1.25\t\t\t\n"
                                         "1\t1\t1.25\t\t\t\n");
}

TEST(CopiedRows, OnlySelectedRowsAreCopiedAndLineEndIsTheCallers) {
    ReadingTable table = densityTable();
    table.setSelected(0, true);
    table.setSelected(2, true);
    EXPECT_EQ(copiedRowsText(table, "\r\n"),
              std::string(kHeadings) + "\r\n3\t3\t1.25\t\t\t\r\n1\t1\t1.25\t\t\t\r\n");
}

TEST(CopiedRows, TabsAndLineBreaksInACommentCannotShiftColumns) {
    ReadingTable table = densityTable();
    table.setCell(1, table.commentColumn(), "a\tb\nc");
    table.setSelected(1, true);
    EXPECT_EQ(copiedRowsText(table), std::string(kHeadings) + "\n2\t2\t1.25\t\t\ta b c\n");
}

TEST(CopiedRows, EmptyTableGivesTheHeadingsOnly) {
    EXPECT_EQ(copiedRowsText(ReadingTable(900)),
              "1: No.\tNo. Dens\t3:   Cyan\tMagenta\tYellow\tBlack\t7:  Percent\tColor\tTime"
              "\tComment\n");
}

}  // namespace
}  // namespace tarvo

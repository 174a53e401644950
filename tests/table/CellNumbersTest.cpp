#include "table/CellNumbers.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(ReadingNumberTest, TakesTheLeadingDigitsOfColumnZero) {
    ReadingTable table(900);
    table.addRow();
    EXPECT_EQ(readingNumber(table, 0), 1);
    table.setCell(0, 0, "  42abc");
    EXPECT_EQ(readingNumber(table, 0), 42);
    table.setCell(0, 0, "");
    EXPECT_EQ(readingNumber(table, 0), 0);
}

}  // namespace
}  // namespace tarvo

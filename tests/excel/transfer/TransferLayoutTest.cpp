#include "excel/transfer/TransferLayout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "TempDir.h"

namespace tarvo {
namespace {

class TransferLayoutTest : public ::testing::Test {
  protected:
    std::string key(const char* name) const {
        return ini.value(kExcelSection, name).value_or("<missing>");
    }
    void store(const char* name, const char* value) { ini.write(kExcelSection, name, value); }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    TransferLayout layout;
};

TEST_F(TransferLayoutTest, EmptySectionShowsAndWritesEveryDefault) {
    const TransferLayoutFields fields = loadTransferLayout(ini, layout);

    EXPECT_EQ(fields.set1.row, "1");
    EXPECT_EQ(fields.set1.column, "A");
    EXPECT_EQ(fields.set1.firstListColumn, "1");
    EXPECT_EQ(fields.set1.length, "6");
    EXPECT_EQ(fields.set2.row, "1");
    EXPECT_EQ(fields.set2.column, "A");
    EXPECT_EQ(fields.set2.firstListColumn, "1");
    EXPECT_EQ(fields.set2.length, "0");
    EXPECT_FALSE(fields.horizontal);

    EXPECT_EQ(layout.direction, 2);
    EXPECT_EQ(layout.set1.firstRow, 1);
    EXPECT_EQ(layout.set1.firstColumn, 1);
    EXPECT_EQ(layout.set1.firstListColumn, 1);
    EXPECT_EQ(layout.set1.length, 6);
    EXPECT_EQ(layout.set2.length, 0);

    EXPECT_EQ(key("RowInit1"), "1");
    EXPECT_EQ(key("ColumnInit1"), "A");
    EXPECT_EQ(key("Start1"), "1");
    EXPECT_EQ(key("Length1"), "6");
    EXPECT_EQ(key("RowInit2"), "1");
    EXPECT_EQ(key("ColumnInit2"), "A");
    EXPECT_EQ(key("Start2"), "1");
    EXPECT_EQ(key("Length2"), "0");
    EXPECT_EQ(key("Direction"), "2");
}

TEST_F(TransferLayoutTest, LowerCaseColumnIsShownAndWrittenUpperCased) {
    store("ColumnInit1", "ab");
    const TransferLayoutFields fields = loadTransferLayout(ini, layout);
    EXPECT_EQ(fields.set1.column, "AB");
    EXPECT_EQ(layout.set1.firstColumn, 28);
    EXPECT_EQ(key("ColumnInit1"), "AB");
}

// The operator's stored value is kept, so it can be seen and mended; only
// its number says that it names no column.
TEST_F(TransferLayoutTest, InvalidStoredColumnKeepsItsTextUpperCasedAndStoresMinusOne) {
    for (auto [stored, shown] : {std::pair{"ZZ", "ZZ"}, {"zz", "ZZ"}, {"ABC", "ABC"}, {"1", "1"}}) {
        SCOPED_TRACE(stored);
        store("ColumnInit1", stored);
        const TransferLayoutFields fields = loadTransferLayout(ini, layout);
        EXPECT_EQ(layout.set1.firstColumn, -1);
        EXPECT_EQ(fields.set1.column, shown);
        EXPECT_EQ(key("ColumnInit1"), shown);
    }
}

TEST_F(TransferLayoutTest, EmptyColumnKeyIsNotAcceptedAndKeepsTheOldColumn) {
    layout.set2.firstColumn = 5;
    store("ColumnInit2", "");
    const TransferLayoutFields fields = loadTransferLayout(ini, layout);
    EXPECT_EQ(layout.set2.firstColumn, 5);
    EXPECT_EQ(fields.set2.column, "");
}

TEST_F(TransferLayoutTest, UnknownDirectionBecomesVerticalAndIsWrittenBack) {
    store("Direction", "7");
    const TransferLayoutFields fields = loadTransferLayout(ini, layout);
    EXPECT_EQ(layout.direction, 2);
    EXPECT_FALSE(fields.horizontal);
    EXPECT_EQ(key("Direction"), "2");
}

TEST_F(TransferLayoutTest, DirectionOneIsHorizontal) {
    store("Direction", "1");
    EXPECT_TRUE(loadTransferLayout(ini, layout).horizontal);
    EXPECT_EQ(layout.direction, 1);
}

TEST_F(TransferLayoutTest, NegativeDirectionIsNotAcceptedAndStaysInTheFile) {
    store("Direction", "-3");
    EXPECT_FALSE(loadTransferLayout(ini, layout).horizontal);
    EXPECT_EQ(layout.direction, 2);
    EXPECT_EQ(key("Direction"), "-3");
}

TEST_F(TransferLayoutTest, RejectedIntegersLeaveTheLayoutAndEmptyTheField) {
    layout.set1.firstListColumn = 4;
    layout.set2.length = 3;
    store("RowInit1", "-2");
    store("Start1", "0");
    store("Length2", "-1");
    const TransferLayoutFields fields = loadTransferLayout(ini, layout);
    EXPECT_EQ(layout.set1.firstRow, 0);  // the dialog start clears it first
    EXPECT_EQ(layout.set1.firstListColumn, 4);
    EXPECT_EQ(layout.set2.length, 3);
    EXPECT_EQ(fields.set1.row, "");
    EXPECT_EQ(fields.set1.firstListColumn, "");
    EXPECT_EQ(fields.set2.length, "");
    EXPECT_EQ(key("Start1"), "0");
}

TEST_F(TransferLayoutTest, StoredIntegersAreWrittenBackAsNumbers) {
    store("RowInit2", " 0012abc");
    const TransferLayoutFields fields = loadTransferLayout(ini, layout);
    EXPECT_EQ(layout.set2.firstRow, 12);
    EXPECT_EQ(fields.set2.row, "12");
    EXPECT_EQ(key("RowInit2"), "12");
}

// --- InitValues ------------------------------------------------------------

TransferLayoutFields typed() {
    TransferLayoutFields fields;
    fields.set1 = {"3", "b", "2", "5"};
    fields.set2 = {"7", "C", "8", "2"};
    fields.horizontal = true;
    return fields;
}

TEST_F(TransferLayoutTest, InitValuesTakesEveryFieldAndWritesItsKey) {
    const TransferLayoutFields fields = takeTransferLayout(ini, layout, typed());
    EXPECT_EQ(layout.direction, 1);
    EXPECT_EQ(layout.set1.firstRow, 3);
    EXPECT_EQ(layout.set1.firstColumn, 2);
    EXPECT_EQ(layout.set1.firstListColumn, 2);
    EXPECT_EQ(layout.set1.length, 5);
    EXPECT_EQ(layout.set2.firstRow, 7);
    EXPECT_EQ(layout.set2.firstColumn, 3);
    EXPECT_EQ(layout.set2.firstListColumn, 8);
    EXPECT_EQ(layout.set2.length, 2);
    EXPECT_EQ(key("Direction"), "1");
    EXPECT_EQ(key("RowInit1"), "3");
    EXPECT_EQ(key("ColumnInit1"), "B");
    EXPECT_EQ(key("Start2"), "8");
    EXPECT_EQ(key("Length2"), "2");
    EXPECT_EQ(fields.set1.column, "b");  // the field keeps what was typed
}

TEST_F(TransferLayoutTest, InitValuesWithLowerCaseGStoresSevenAndWritesG) {
    TransferLayoutFields fields = typed();
    fields.set1.column = "g";
    takeTransferLayout(ini, layout, fields);
    EXPECT_EQ(layout.set1.firstColumn, 7);
    EXPECT_EQ(key("ColumnInit1"), "G");
}

TEST_F(TransferLayoutTest, InitValuesEmptiesAnInvalidColumnAndKeepsTheOldOne) {
    layout.set2.firstColumn = 4;
    store("ColumnInit2", "D");
    TransferLayoutFields fields = typed();
    fields.set2.column = "ZZ";
    const TransferLayoutFields shown = takeTransferLayout(ini, layout, fields);
    EXPECT_EQ(shown.set2.column, "");
    EXPECT_EQ(layout.set2.firstColumn, 4);
    EXPECT_EQ(key("ColumnInit2"), "D");
}

TEST_F(TransferLayoutTest, InitValuesStoresZeroStartAndLengthAsTyped) {
    TransferLayoutFields fields = typed();
    fields.set1.firstListColumn = "0";
    fields.set1.length = "00";
    fields.set1.row = "";
    takeTransferLayout(ini, layout, fields);
    EXPECT_EQ(layout.set1.firstListColumn, 0);
    EXPECT_EQ(layout.set1.length, 0);
    EXPECT_EQ(layout.set1.firstRow, 0);
    EXPECT_EQ(key("Start1"), "0");
    EXPECT_EQ(key("Length1"), "00");
    EXPECT_EQ(key("RowInit1"), "0");
}

TEST_F(TransferLayoutTest, InitValuesReadsAtMostNineteenCharacters) {
    TransferLayoutFields fields = typed();
    fields.set1.length = "12345678901234567890123";
    takeTransferLayout(ini, layout, fields);
    EXPECT_EQ(key("Length1"), "1234567890123456789");
}

TEST_F(TransferLayoutTest, DirectionClickIsWrittenAtOnce) {
    setDirection(ini, layout, Direction::Horizontal);
    EXPECT_EQ(layout.direction, 1);
    EXPECT_EQ(key("Direction"), "1");
    setDirection(ini, layout, Direction::Vertical);
    EXPECT_EQ(key("Direction"), "2");
}

}  // namespace
}  // namespace tarvo

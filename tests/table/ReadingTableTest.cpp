#include "table/ReadingTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvo {
namespace {

std::vector<std::string> numbers(const ReadingTable& table) {
    std::vector<std::string> column;
    for (int row = 0; row < table.rowCount(); ++row)
        column.emplace_back(table.cell(row, 0));
    return column;
}

// Adds a reading the way the acquisition cycle does, marking it by its device number.
int addReading(ReadingTable& table, const std::string& device) {
    return table.writeReading({{1, device}});
}

using Numbers = std::vector<std::string>;
using ::testing::ElementsAre;

TEST(ColumnLayout, HeadingsAndWidthsFollowTheClientWidth) {
    auto creation = columnLayout(ColumnLayout::ColourAtCreation, 900);
    ASSERT_EQ(creation.size(), 10u);
    EXPECT_EQ(creation[2].heading, "3:   Cyan");
    EXPECT_EQ(creation[0].width, 75);
    EXPECT_EQ(creation[7].width, 80);
    EXPECT_TRUE(creation[9].leftAligned);
    EXPECT_FALSE(creation[8].leftAligned);

    auto rebuilt = columnLayout(ColumnLayout::Colour, 900);
    EXPECT_EQ(rebuilt[2].heading, "3:  Cyan");
    std::vector<int> widths;
    for (const auto& c : rebuilt)
        widths.push_back(c.width);
    EXPECT_EQ(widths, (std::vector<int>{75, 97, 104, 104, 104, 104, 104, 70, 93, 100}));

    auto density = columnLayout(ColumnLayout::Density, 600);
    ASSERT_EQ(density.size(), 6u);
    EXPECT_EQ(density[2].heading, "Density");
    EXPECT_EQ(density[5].heading, " Comment");
    EXPECT_EQ(density[0].width, 85);
    EXPECT_EQ(density[4].width, 90);
}

TEST(ReadingTable, NewestRowIsOnTopAndNumbersRunDown) {
    ReadingTable table(900);
    for (auto d : {"  1", "  2", "  3"})
        addReading(table, d);
    EXPECT_EQ(numbers(table), (Numbers{"3", "2", "1"}));
    EXPECT_EQ(table.cell(0, 1), "  3");
}

TEST(ReadingTable, DeleteRenumbersRowsAboveTheGapAndTheNextReadingFollows) {
    ReadingTable table(900);
    for (auto d : {"  1", "  2", "  3"})
        addReading(table, d);
    table.setSelected(1, true);
    table.deleteSelected();
    EXPECT_EQ(numbers(table), (Numbers{"2", "1"}));
    EXPECT_EQ(table.cell(0, 1), "  3");
    EXPECT_EQ(table.cell(1, 1), "  1");
    addReading(table, "  4");
    EXPECT_EQ(numbers(table), (Numbers{"3", "2", "1"}));
}

TEST(ReadingTable, DeleteActsOnTheFirstSelectedRowOnly) {
    ReadingTable table(900);
    for (int i = 1; i <= 5; ++i)
        addReading(table, std::to_string(i));
    table.setSelected(1, true);
    table.setSelected(3, true);
    table.deleteSelected();
    EXPECT_EQ(numbers(table), (Numbers{"4", "3", "2", "1"}));
    EXPECT_EQ(table.cell(1, 1), "3");
    EXPECT_EQ(table.firstSelected(), 2);  // the other selected row, moved up
}

TEST(ReadingTable, DeleteAndChangeWithoutSelectionDoNothing) {
    ReadingTable table(900);
    addReading(table, "1");
    table.deleteSelected();
    table.change();
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_FALSE(table.changePending());
}

TEST(ReadingTable, CommentWithoutSelectionGoesToTheNewestRowAndIsCut) {
    ReadingTable table(900);
    addReading(table, "1");
    addReading(table, "2");
    table.comment("a comment longer than nineteen");
    EXPECT_EQ(table.cell(0, 9), "a comment longer th");
    table.setSelected(1, true);
    table.comment("strip 2");
    EXPECT_EQ(table.cell(1, 9), "strip 2");
    table.setSelected(1, false);
    table.comment("");
    EXPECT_EQ(table.cell(0, 9), "");
}

TEST(ReadingTable, CommentOnAnEmptyTableDoesNothing) {
    ReadingTable table(900);
    table.comment("x");
    EXPECT_EQ(table.rowCount(), 0);
}

TEST(ReadingTable, DensityReadingRebuildsSixColumnsAndStartsAtOne) {
    ReadingTable table(900);
    addReading(table, "1");
    addReading(table, "2");
    table.switchMode(ReadingKind::Density, 600);
    EXPECT_EQ(table.mode(), ReadingKind::Density);
    EXPECT_EQ(table.columnCount(), 6);
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.commentColumn(), 5);
    addReading(table, "3");
    EXPECT_EQ(numbers(table), (Numbers{"1"}));
    table.comment("wedge");
    EXPECT_EQ(table.cell(0, 5), "wedge");
}

TEST(ReadingTable, ClearKeepsLayoutAndRestartsNumbering) {
    ReadingTable table(900);
    table.switchMode(ReadingKind::Density, 600);
    addReading(table, "1");
    table.clear();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.columnCount(), 6);
    addReading(table, "2");
    EXPECT_EQ(numbers(table), (Numbers{"1"}));
}

TEST(ReadingTable, ChangeOverwritesInPlaceKeepingTheNumberOnce) {
    ReadingTable table(900);
    for (auto d : {"a", "b", "c"})
        addReading(table, d);
    table.setSelected(1, true);
    table.change();
    EXPECT_EQ(addReading(table, "b2"), 1);
    EXPECT_EQ(numbers(table), (Numbers{"3", "2", "1"}));
    EXPECT_EQ(table.cell(1, 1), "b2");
    EXPECT_FALSE(table.isSelected(1));
    EXPECT_EQ(addReading(table, "d"), 0);
    EXPECT_EQ(numbers(table), (Numbers{"4", "3", "2", "1"}));
}

TEST(ReadingTable, PendingChangeWhoseRowIsGoneIsDropped) {
    ReadingTable table(900);
    for (auto d : {"a", "b", "c"})
        addReading(table, d);
    table.setSelected(2, true);
    table.change();
    table.clear();
    EXPECT_FALSE(table.changePending());

    for (auto d : {"a", "b"})
        addReading(table, d);
    table.setSelected(1, true);
    table.change();
    table.deleteSelected();
    EXPECT_FALSE(table.changePending());

    addReading(table, "c");
    table.setSelected(0, true);
    table.change();
    table.switchMode(ReadingKind::Density, 600);
    EXPECT_FALSE(table.changePending());
}

TEST(ReadingTable, PendingChangeFollowsItsRowWhenARowAboveIsDeleted) {
    ReadingTable table(900);
    for (auto d : {"a", "b", "c"})
        addReading(table, d);  // rows: c, b, a
    table.setSelected(2, true);
    table.change();
    table.setSelected(2, false);
    table.setSelected(0, true);
    table.deleteSelected();  // rows: b, a
    EXPECT_EQ(addReading(table, "a2"), 1);
    EXPECT_EQ(table.cell(1, 1), "a2");
    EXPECT_EQ(table.cell(0, 1), "b");
}

TEST(ReadingTable, CellsOutsideTheTableReadEmptyAndIgnoreWrites) {
    ReadingTable table(900);
    addReading(table, "1");
    table.setCell(5, 1, "x");
    table.setCell(0, 12, "x");
    EXPECT_EQ(table.cell(5, 1), "");
    EXPECT_EQ(table.cell(0, -1), "");
    EXPECT_EQ(table.cell(0, 10), "");
}

struct CountingObserver : TableObserver {
    int rebuilt = 0, reset = 0, inserted = 0, changed = 0;
    void columnsRebuilt() override { ++rebuilt; }
    void rowsReset() override { ++reset; }
    void rowInserted(int) override { ++inserted; }
    void rowChanged(int) override { ++changed; }
    void readingWritten(int, bool replaced) override { ++(replaced ? changed : inserted); }
};

TEST(ReadingTable, EveryObserverHearsOfEveryKindOfChange) {
    ReadingTable table(900);
    CountingObserver seen, alsoSeen, gone;
    table.addObserver(&seen);
    table.addObserver(&alsoSeen);
    table.addObserver(&gone);
    table.removeObserver(&gone);
    addReading(table, "1");
    table.setSelected(0, true);
    table.deleteSelected();
    table.switchMode(ReadingKind::Density, 600);
    EXPECT_EQ(seen.inserted, 1);
    EXPECT_EQ(seen.changed, 1);
    EXPECT_EQ(seen.reset, 1);
    EXPECT_EQ(seen.rebuilt, 1);
    EXPECT_EQ(alsoSeen.changed, 1);
    EXPECT_EQ(gone.inserted + gone.changed + gone.reset + gone.rebuilt, 0);
}

// Views keep indexes into the rows: they must hear of a change while the old
// rows still stand, and again once the new ones do.
struct OrderObserver : TableObserver {
    const ReadingTable* table = nullptr;
    std::vector<std::string> heard;
    void note(const char* what) { heard.push_back(what + std::to_string(table->rowCount())); }
    void columnsAboutToBeRebuilt() override { note("rebuild?"); }
    void columnsRebuilt() override { note("rebuilt"); }
    void rowsAboutToBeReset() override { note("reset?"); }
    void rowsReset() override { note("reset"); }
    void rowAboutToBeInserted(int) override { note("insert?"); }
    void rowInserted(int) override { note("inserted"); }
    void rowChanged(int) override {}
    void readingWritten(int, bool replaced) override {
        if (!replaced)
            note("inserted");
    }
};

TEST(ReadingTable, ChangesAreAnnouncedBeforeTheRowsChange) {
    ReadingTable table(900);
    OrderObserver order;
    order.table = &table;
    table.addObserver(&order);
    addReading(table, "1");
    addReading(table, "2");
    table.setSelected(0, true);
    table.deleteSelected();
    table.switchMode(ReadingKind::Density, 600);
    addReading(table, "3");
    table.clear();
    EXPECT_THAT(order.heard,
                ElementsAre("insert?0", "inserted1", "insert?1", "inserted2", "reset?2", "reset1",
                            "rebuild?1", "rebuilt0", "insert?0", "inserted1", "reset?1", "reset0"));
}

// A view that redraws the row at every event would draw a reading cell by
// cell: the reading must come as one event, once its row holds every text.
struct ReadingObserver : TableObserver {
    const ReadingTable* table = nullptr;
    std::vector<std::string> heard;
    void columnsRebuilt() override { heard.push_back("rebuilt"); }
    void rowsReset() override { heard.push_back("reset"); }
    void rowInserted(int row) override { heard.push_back("inserted " + std::to_string(row)); }
    void rowChanged(int row) override { heard.push_back("changed " + std::to_string(row)); }
    void readingWritten(int row, bool replaced) override {
        heard.push_back((replaced ? "replaced " : "written ") + std::to_string(row) + ": " +
                        std::string(table->cell(row, 0)) + "|" + std::string(table->cell(row, 1)) +
                        "|" + std::string(table->cell(row, 2)) + "|" +
                        std::string(table->cell(row, 9)));
    }
};

TEST(ReadingTable, AReadingIsToldOnceWithItsRowWhenItHoldsEveryText) {
    ReadingTable table(900);
    ReadingObserver seen;
    seen.table = &table;
    table.writeReading({{1, "  11"}, {2, "1.50"}});
    table.writeReading({{1, "  12"}, {2, "1.60"}, {9, "note"}});
    table.setSelected(0, true);
    table.change();
    table.addObserver(&seen);

    EXPECT_EQ(table.writeReading({{1, "  13"}, {2, "1.70"}}), 0);
    EXPECT_EQ(table.writeReading({{1, "  14"}, {2, "1.80"}}), 0);
    EXPECT_THAT(seen.heard, ElementsAre("replaced 0: 2|  13|1.70|note", "written 0: 3|  14|1.80|"));
    EXPECT_FALSE(table.isSelected(1)) << "the replaced row keeps its selection";
}

}  // namespace
}  // namespace tarvo

#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/ReadingKind.h"

namespace tarvo {

enum class ColumnLayout { ColourAtCreation, Colour, Density };

// How one column of the table is shown: its heading, its width in pixels and
// its alignment.
struct ColumnFormat {
    std::string heading;
    int width = 0;
    bool leftAligned = false;  // only " Comment"; every other column is centred
};

// The headings and widths of one layout for a list whose client area is
// clientWidth pixels wide.
std::vector<ColumnFormat> columnLayout(ColumnLayout layout, int clientWidth);

inline constexpr int kMaxColumns = 10;
inline constexpr std::size_t kMaxCommentLength = 19;

// One cell of a reading: its column and its text.
struct CellText {
    int column;
    std::string text;
};

// One row: the texts of its cells, as shown. Cells never written are empty.
struct Reading {
    std::array<std::string, kMaxColumns> cells;
    bool selected = false;
};

// Told about every change, so a window can show the table as it is. Each
// change of the rows or columns is announced before it happens (views that
// keep indexes need the old state then) and reported once it is done.
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    virtual void columnsAboutToBeRebuilt() {}
    virtual void columnsRebuilt() = 0;  // new header; every row is gone
    virtual void rowsAboutToBeReset() {}
    virtual void rowsReset() = 0;  // rows changed wholesale (Clear, Delete)
    virtual void rowAboutToBeInserted(int /*index*/) {}
    virtual void rowInserted(int index) = 0;
    virtual void rowChanged(int index) = 0;  // cell texts or selected state
    // A reading's row holds all its texts: a new row at index 0 (announced
    // by rowAboutToBeInserted), or the row that Change chose (replaced). Told
    // once per reading, in place of rowInserted and rowChanged.
    virtual void readingWritten(int row, bool replaced) = 0;
    // What the operator did, told after the rows above; for those who keep a
    // record of the table rather than show it.
    virtual void rowsCleared() {}
    virtual void rowDeleted(int /*index*/) {}
    virtual void commentWritten(int /*row*/) {}
};

// One row's cell texts, as kept outside the table.
using RowCells = std::array<std::string, kMaxColumns>;

// The program's only store of measurements: rows of cell texts, newest at
// index 0, the row at index i numbered rowCount() - i. File layouts, printing
// and the spreadsheet transfer all read it back by row and column index.
class ReadingTable {
  public:
    explicit ReadingTable(int clientWidth = 0);

    // Several windows and the journal follow one table; each detaches itself
    // before it goes away.
    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);

    ReadingKind mode() const { return mode_; }
    ColumnLayout layout() const { return layout_; }
    const std::vector<ColumnFormat>& columns() const { return columns_; }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Empty for a row or column that does not exist.
    std::string_view cell(int row, int column) const;
    void setCell(int row, int column, std::string text);
    // Column of the comment in the current mode: 9 for colour, 5 for density.
    int commentColumn() const;

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    std::optional<int> firstSelected() const;

    // Used by the acquisition cycle.
    void switchMode(ReadingKind kind, int clientWidth);
    // Writes one reading's cells into a new numbered row at index 0, or over
    // the row Change chose, which keeps its number and loses its selection;
    // returns the row's index. Observers hear of it once, when the row holds
    // every text.
    int writeReading(std::vector<CellText> cells);
    // A row cell by cell: a restored or hand-built table; observers hear of each step.
    int addRow();      // inserts an empty numbered row at index 0 and returns 0
    int replaceRow();  // settles a pending change; returns the target's index
    bool changePending() const { return changePending_; }
    int changeTarget() const { return changeTarget_; }

    // Puts back a table kept from an earlier session: its layout and its
    // rows, newest first, texts as they were. Observers see new columns.
    void restore(ColumnLayout layout, int clientWidth, std::vector<RowCells> rows);

    // The operator's row operations.
    void clear();
    void deleteSelected();
    void change();
    // Writes at most 19 characters of text into the first selected row's
    // comment, or the newest row's when none is selected.
    void comment(std::string_view text);

  private:
    int insertRow();
    int settleChange();
    bool writeCell(int row, int column, std::string text);
    void renumber();
    void announceReset();
    void notifyReset();
    template <typename Event>
    void notify(Event event);

    ReadingKind mode_ = ReadingKind::Colour;
    ColumnLayout layout_ = ColumnLayout::ColourAtCreation;
    std::vector<ColumnFormat> columns_;
    std::deque<Reading> rows_;
    bool changePending_ = false;
    int changeTarget_ = 0;
    std::vector<TableObserver*> observers_;
};

}  // namespace tarvo

#include "table/ReadingTable.h"

#include <algorithm>

namespace tarvo {

std::vector<ColumnFormat> columnLayout(ColumnLayout layout, int clientWidth) {
    if (layout == ColumnLayout::Density) {
        const int w = clientWidth / 6;
        return {{"1: No.", w - 15}, {"No. Dens", w - 8}, {"Density", w},
                {"Percent", w},     {"Time", w - 10},    {" Comment", w, true}};
    }
    const int w = clientWidth / 9;
    if (layout == ColumnLayout::ColourAtCreation) {
        return {{"1: No.", w - 25}, {"No. Dens", w - 3},  {"3:   Cyan", w},   {"Magenta", w},
                {"Yellow", w},      {"Black", w},         {"7:  Percent", w}, {"Color", w - 20},
                {"Time", w},        {" Comment", w, true}};
    }
    return {{"1: No.", w - 25}, {"No. Dens", w - 3},  {"3:  Cyan", w + 4},    {"Magenta", w + 4},
            {"Yellow", w + 4},  {"Black", w + 4},     {"7:  Percent", w + 4}, {"Color", w - 30},
            {"Time", w - 7},    {" Comment", w, true}};
}

ReadingTable::ReadingTable(int clientWidth)
    : columns_(columnLayout(ColumnLayout::ColourAtCreation, clientWidth)) {}

std::string_view ReadingTable::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kMaxColumns)
        return {};
    return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void ReadingTable::setCell(int row, int column, std::string text) {
    if (writeCell(row, column, std::move(text)))
        notify([&](TableObserver& o) { o.rowChanged(row); });
}

bool ReadingTable::writeCell(int row, int column, std::string text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kMaxColumns)
        return false;
    rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = std::move(text);
    return true;
}

int ReadingTable::commentColumn() const {
    return mode_ == ReadingKind::Density ? 5 : 9;
}

bool ReadingTable::isSelected(int row) const {
    return row >= 0 && row < rowCount() && rows_[static_cast<std::size_t>(row)].selected;
}

void ReadingTable::setSelected(int row, bool selected) {
    if (row < 0 || row >= rowCount())
        return;
    auto& flag = rows_[static_cast<std::size_t>(row)].selected;
    if (flag == selected)
        return;
    flag = selected;
    notify([&](TableObserver& o) { o.rowChanged(row); });
}

std::optional<int> ReadingTable::firstSelected() const {
    for (int row = 0; row < rowCount(); ++row) {
        if (rows_[static_cast<std::size_t>(row)].selected)
            return row;
    }
    return std::nullopt;
}

void ReadingTable::switchMode(ReadingKind kind, int clientWidth) {
    notify([&](TableObserver& o) { o.columnsAboutToBeRebuilt(); });
    mode_ = kind;
    rows_.clear();
    layout_ = kind == ReadingKind::Density ? ColumnLayout::Density : ColumnLayout::Colour;
    columns_ = columnLayout(layout_, clientWidth);
    // The remembered row is gone with the others.
    changePending_ = false;
    notify([&](TableObserver& o) { o.columnsRebuilt(); });
}

int ReadingTable::writeReading(std::vector<CellText> cells) {
    const bool replaced = changePending_;
    const int row = replaced ? settleChange() : insertRow();
    for (auto& cell : cells)
        writeCell(row, cell.column, std::move(cell.text));
    notify([&](TableObserver& o) { o.readingWritten(row, replaced); });
    return row;
}

int ReadingTable::addRow() {
    const int row = insertRow();
    notify([&](TableObserver& o) { o.rowInserted(row); });
    return row;
}

int ReadingTable::replaceRow() {
    const int row = settleChange();
    notify([&](TableObserver& o) { o.rowChanged(row); });
    return row;
}

// Observers hear of the new row beforehand only; the caller tells them the rest.
int ReadingTable::insertRow() {
    Reading reading;
    reading.cells[0] = std::to_string(rowCount() + 1);
    notify([&](TableObserver& o) { o.rowAboutToBeInserted(0); });
    rows_.push_front(std::move(reading));
    // The remembered row moved down with every other row.
    if (changePending_)
        ++changeTarget_;
    return 0;
}

int ReadingTable::settleChange() {
    changePending_ = false;
    auto& row = rows_[static_cast<std::size_t>(changeTarget_)];
    row.selected = false;  // keeps its number, loses its selection
    return changeTarget_;
}

void ReadingTable::restore(ColumnLayout layout, int clientWidth, std::vector<RowCells> rows) {
    layout_ = layout;
    mode_ = layout == ColumnLayout::Density ? ReadingKind::Density : ReadingKind::Colour;
    columns_ = columnLayout(layout, clientWidth);
    rows_.clear();
    for (auto& cells : rows)
        rows_.push_back(Reading{std::move(cells), false});
    changePending_ = false;
    notify([&](TableObserver& o) { o.columnsRebuilt(); });
}

void ReadingTable::clear() {
    announceReset();
    rows_.clear();
    changePending_ = false;
    notifyReset();
    notify([&](TableObserver& o) { o.rowsCleared(); });
}

void ReadingTable::deleteSelected() {
    auto first = firstSelected();
    if (!first)
        return;
    announceReset();
    rows_.erase(rows_.begin() + *first);
    if (changePending_) {
        if (*first == changeTarget_) {
            changePending_ = false;
        } else if (*first < changeTarget_) {
            --changeTarget_;
        }
    }
    renumber();
    notifyReset();
    notify([&](TableObserver& o) { o.rowDeleted(*first); });
}

void ReadingTable::change() {
    auto first = firstSelected();
    if (!first)
        return;
    changeTarget_ = *first;
    changePending_ = true;
}

void ReadingTable::comment(std::string_view text) {
    if (rows_.empty())
        return;
    int row = firstSelected().value_or(0);
    setCell(row, commentColumn(), std::string(text.substr(0, kMaxCommentLength)));
    notify([&](TableObserver& o) { o.commentWritten(row); });
}

void ReadingTable::renumber() {
    const int n = rowCount();
    for (int i = 0; i < n; ++i)
        rows_[static_cast<std::size_t>(i)].cells[0] = std::to_string(n - i);
}

void ReadingTable::addObserver(TableObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ReadingTable::removeObserver(TableObserver* observer) {
    std::erase(observers_, observer);
}

template <typename Event>
void ReadingTable::notify(Event event) {
    for (TableObserver* observer : observers_)
        event(*observer);
}

void ReadingTable::announceReset() {
    notify([&](TableObserver& o) { o.rowsAboutToBeReset(); });
}

void ReadingTable::notifyReset() {
    notify([&](TableObserver& o) { o.rowsReset(); });
}

}  // namespace tarvo

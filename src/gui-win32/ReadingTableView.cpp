#include "gui-win32/ReadingTableView.h"

#include <string>

namespace tarvo::win32 {

ReadingTableView::ReadingTableView(HWND list) : list_(list) {
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
}

ReadingTableView::~ReadingTableView() {
    if (table_) {
        table_->removeObserver(this);
    }
}

int ReadingTableView::clientWidth() const {
    RECT client{};
    GetClientRect(list_, &client);
    return client.right - client.left;
}

void ReadingTableView::showTable(ReadingTable& table) {
    if (table_) {
        table_->removeObserver(this);
    }
    table_ = &table;
    table_->addObserver(this);
    columnsRebuilt();
}

void ReadingTableView::columnsRebuilt() {
    ListView_DeleteAllItems(list_);
    while (ListView_DeleteColumn(list_, 0)) {
    }
    insertColumns();
    rowsReset();
}

void ReadingTableView::rowsReset() {
    syncing_ = true;
    ListView_DeleteAllItems(list_);
    for (int row = 0; row < table_->rowCount(); ++row) {
        insertRow(row);
    }
    syncing_ = false;
}

void ReadingTableView::rowInserted(int index) {
    syncing_ = true;
    insertRow(index);
    syncing_ = false;
}

void ReadingTableView::rowChanged(int index) {
    syncing_ = true;
    writeRow(index);
    syncing_ = false;
}

// The reading's row is inserted or written once, with all its texts.
void ReadingTableView::readingWritten(int row, bool replaced) {
    if (replaced)
        rowChanged(row);
    else
        rowInserted(row);
}

void ReadingTableView::itemChanged(const NMLISTVIEW& change) {
    if (syncing_ || table_ == nullptr || (change.uChanged & LVIF_STATE) == 0 ||
        ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
        return;
    }
    syncing_ = true;
    const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
    // Item -1 stands for every row at once.
    const int first = change.iItem < 0 ? 0 : change.iItem;
    const int last = change.iItem < 0 ? table_->rowCount() - 1 : change.iItem;
    for (int row = first; row <= last; ++row) {
        table_->setSelected(row, selected);
    }
    syncing_ = false;
}

void ReadingTableView::insertColumns() {
    const auto& columns = table_->columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::string heading = columns[c].heading;
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = columns[c].leftAligned ? LVCFMT_LEFT : LVCFMT_CENTER;
        column.cx = columns[c].width;
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(c);
        SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}

void ReadingTableView::insertRow(int index) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    std::string number(table_->cell(index, 0));
    item.pszText = number.data();
    SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    writeRow(index);
}

void ReadingTableView::writeRow(int index) {
    for (int c = 0; c < table_->columnCount(); ++c) {
        std::string text(table_->cell(index, c));
        LVITEMA item{};
        item.iSubItem = c;
        item.pszText = text.data();
        SendMessageA(list_, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    }
    ListView_SetItemState(list_, index, table_->isSelected(index) ? LVIS_SELECTED : 0,
                          LVIS_SELECTED);
}

}  // namespace tarvo::win32

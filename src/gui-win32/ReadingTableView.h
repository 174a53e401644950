#pragma once

#include <windows.h>

#include <commctrl.h>

#include "table/ReadingTable.h"

namespace tarvo::win32 {

// The report-style list view (id 1000) showing the reading table. Its
// selection and the table's selected flags are kept equal both ways: the row
// operations act on the table's first selected row, whichever side selected it.
class ReadingTableView final : public TableObserver {
  public:
    explicit ReadingTableView(HWND list);
    ~ReadingTableView() override;
    ReadingTableView(const ReadingTableView&) = delete;
    ReadingTableView& operator=(const ReadingTableView&) = delete;

    // The width of the area the rows are drawn in, from which columns are sized.
    int clientWidth() const;
    void showTable(ReadingTable& table);
    // LVN_ITEMCHANGED from the list: the operator changed the selection.
    void itemChanged(const NMLISTVIEW& change);

    void columnsRebuilt() override;
    void rowsReset() override;
    void rowInserted(int index) override;
    void rowChanged(int index) override;
    void readingWritten(int row, bool replaced) override;

  private:
    void insertColumns();
    void insertRow(int index);
    void writeRow(int index);

    HWND list_;
    ReadingTable* table_ = nullptr;
    bool syncing_ = false;
};

}  // namespace tarvo::win32

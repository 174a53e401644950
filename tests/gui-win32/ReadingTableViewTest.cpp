// The Win32 reading table view in this process under wine: a reading reaches
// the list view as one inserted row with its texts, or one rewrite of the row
// that Change chose, never as a rewrite of the row for each of its cells.
#include "gui-win32/ReadingTableView.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarvo {
namespace {

// Counts the messages that write into the list, ahead of the control's own procedure.
struct ListWrites {
    int inserted = 0;
    int texts = 0;
};

ListWrites* counted = nullptr;
WNDPROC listProc = nullptr;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (counted != nullptr && message == LVM_INSERTITEMA)
        ++counted->inserted;
    if (counted != nullptr && message == LVM_SETITEMTEXTA)
        ++counted->texts;
    return CallWindowProcA(listProc, window, message, wParam, lParam);
}

std::string cellOf(HWND list, int row, int column) {
    char text[64] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<CellText> colourReading(const std::string& device) {
    return {{1, device}, {2, "1.50"}, {3, "0.20"},     {4, "0.30"},   {5, "1.00"},
            {6, "45.5"}, {7, "C"},    {8, "14: 5: 9"}, {9, "strip 2"}};
}

class Win32ReadingTableView : public ::testing::Test {
  protected:
    Win32ReadingTableView() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                               600, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        listProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countingProc)));
        view = std::make_unique<win32::ReadingTableView>(list);
        view->showTable(table);
    }
    ~Win32ReadingTableView() override {
        counted = nullptr;
        view.reset();
        DestroyWindow(list);
    }

    // What the list was sent while the table wrote one reading.
    ListWrites writesOf(const std::string& device) {
        ListWrites writes;
        counted = &writes;
        table.writeReading(colourReading(device));
        counted = nullptr;
        return writes;
    }

    ReadingTable table{900};
    HWND list = nullptr;
    std::unique_ptr<win32::ReadingTableView> view;
};

TEST_F(Win32ReadingTableView, AReadingIsOneInsertedRowWithOneWriteOfEachCell) {
    ASSERT_NE(list, nullptr);
    table.writeReading(colourReading("  1"));
    const ListWrites writes = writesOf("  2");
    EXPECT_EQ(writes.inserted, 1);
    EXPECT_EQ(writes.texts, table.columnCount()) << "the row was rewritten for each cell";
    EXPECT_EQ(cellOf(list, 0, 0), "2");
    EXPECT_EQ(cellOf(list, 0, 1), "  2");
    EXPECT_EQ(cellOf(list, 0, 9), "strip 2");
}

TEST_F(Win32ReadingTableView, AReadingOverTheChangedRowRewritesThatRowOnce) {
    table.writeReading(colourReading("  1"));
    table.writeReading(colourReading("  2"));
    table.setSelected(1, true);
    table.change();
    const ListWrites writes = writesOf("  3");
    EXPECT_EQ(writes.inserted, 0);
    EXPECT_EQ(writes.texts, table.columnCount()) << "the row was rewritten for each cell";
    EXPECT_EQ(cellOf(list, 1, 0), "1");
    EXPECT_EQ(cellOf(list, 1, 1), "  3");
    EXPECT_EQ(ListView_GetItemState(list, 1, LVIS_SELECTED), 0u);
}

}  // namespace
}  // namespace tarvo

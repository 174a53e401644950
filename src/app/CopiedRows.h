#pragma once

#include <string>
#include <string_view>

#include "table/ReadingTable.h"

namespace tarvo {

// The text "Copy Rows" puts on the clipboard: the headings, then the selected
// rows (all rows when none is selected), newest first as the table shows them.
// Cells are separated by tabs with their padding blanks trimmed, so a
// spreadsheet takes the numbers as numbers; tabs and line breaks inside a
// comment become blanks, so they cannot shift the columns. Each line ends with
// lineEnd ("\r\n" where the clipboard wants it).
std::string copiedRowsText(const ReadingTable& table, std::string_view lineEnd = "\n");

}  // namespace tarvo

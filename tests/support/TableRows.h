#pragma once

#include <string>
#include <vector>

#include "table/ReadingTable.h"

namespace tarvo::test {

// The texts of one row of the table, every column of its layout.
inline std::vector<std::string> rowCells(const ReadingTable& table, int row) {
    std::vector<std::string> cells;
    for (int column = 0; column < table.columnCount(); ++column) {
        cells.emplace_back(table.cell(row, column));
    }
    return cells;
}

}  // namespace tarvo::test

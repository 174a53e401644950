#pragma once

#include <string>
#include <vector>

#include "table/ReadingTable.h"

namespace tarvo::test {

// Adds a reading at the top of the table as the acquisition cycle does: the
// table numbers the row, cells gives the texts of columns 1, 2, ... in order.
inline void addReading(ReadingTable& table, const std::vector<std::string>& cells) {
    table.addRow();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        table.setCell(0, static_cast<int>(i) + 1, cells[i]);
    }
}

inline ReadingTable densityTable() {
    ReadingTable table;
    table.switchMode(ReadingKind::Density, 600);
    return table;
}

// count colour readings measured one after the other; reading j (1 is the
// oldest) holds "c<j>", "m<j>", "y<j>", "k<j>" and percent "p<j>", so every
// value in a file tells which reading it came from.
inline void addNumberedReadings(ReadingTable& table, int count) {
    for (int j = 1; j <= count; ++j) {
        const std::string n = std::to_string(j);
        addReading(table,
                   {"  " + n, "c" + n, "m" + n, "y" + n, "k" + n, "p" + n, "C", "10: 0: 0", ""});
    }
}

// The body lines of a rendered text: everything after the header's lines.
inline std::vector<std::string> bodyLines(const std::string& text, std::size_t headerLines) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    if (lines.size() <= headerLines) {
        return {};
    }
    return {lines.begin() + static_cast<std::ptrdiff_t>(headerLines), lines.end()};
}

}  // namespace tarvo::test

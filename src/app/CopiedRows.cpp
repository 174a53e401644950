#include "app/CopiedRows.h"

namespace tarvo {

namespace {

std::string cleanCell(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string cell(text);
    for (char& c : cell) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return cell;
}

template <typename CellAt>
void appendLine(std::string& text, int columns, CellAt cellAt, std::string_view lineEnd) {
    for (int column = 0; column < columns; ++column) {
        if (column > 0) {
            text += '\t';
        }
        text += cleanCell(cellAt(column));
    }
    text += lineEnd;
}

bool anySelected(const ReadingTable& table) {
    return table.firstSelected().has_value();
}

}  // namespace

std::string copiedRowsText(const ReadingTable& table, std::string_view lineEnd) {
    std::string text;
    const int columns = table.columnCount();
    appendLine(
        text, columns,
        [&](int column) {
            return std::string_view(table.columns()[static_cast<std::size_t>(column)].heading);
        },
        lineEnd);
    const bool onlySelected = anySelected(table);
    for (int row = 0; row < table.rowCount(); ++row) {
        if (onlySelected && !table.isSelected(row)) {
            continue;
        }
        appendLine(
            text, columns, [&](int column) { return table.cell(row, column); }, lineEnd);
    }
    return text;
}

}  // namespace tarvo

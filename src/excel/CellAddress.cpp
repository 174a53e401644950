#include "excel/CellAddress.h"

namespace tarvo {

namespace {

constexpr int kLastRow = 65536;
constexpr int kLastColumn = 256;

std::string columnLetters(int column) {
    const int zeroBased = column - 1;
    if (column <= 26) {
        return std::string(1, static_cast<char>('A' + zeroBased));
    }
    return {static_cast<char>('A' + zeroBased / 26 - 1), static_cast<char>('A' + zeroBased % 26)};
}

// Position of the last of `characters`, -1 when none is in the text.
long lastOf(std::string_view text, std::string_view characters) {
    const auto position = text.find_last_of(characters);
    return position == std::string_view::npos ? -1 : static_cast<long>(position);
}

}  // namespace

std::string cellAddress(int row, int column) {
    if (row < 1 || row > kLastRow || column < 1 || column > kLastColumn) {
        return {};
    }
    return columnLetters(column) + std::to_string(row);
}

std::string copyPathWithExtension(std::string_view path) {
    std::string result(path);
    if (lastOf(path, ".") <= lastOf(path, "\\/")) {
        result += ".xls";
    }
    return result;
}

}  // namespace tarvo

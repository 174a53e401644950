#pragma once

#include <cstdint>
#include <string>

#include "files/IniFile.h"

namespace tarvo {

inline constexpr const char* kExcelSection = "ExcelAuto";
inline constexpr const char* kFilePathKey = "FilePath";
inline constexpr const char* kDefaultExcelPath = "*.xls";

enum class Direction : std::int32_t { Horizontal = 1, Vertical = 2 };

// One run of table columns placed from one first cell of the sheet.
struct TransferSet {
    std::int32_t firstRow = 0;
    std::int32_t firstColumn = 0;      // 1-based; -1 when the stored letters name no column
    std::int32_t firstListColumn = 0;  // 1-based table column
    std::int32_t length = 0;           // 0 or less: the set is not written
};

// Where each new reading lands in the sheet. All zero until the Excel dialog
// first opens; afterwards it holds what the operator last took over.
struct TransferLayout {
    std::int32_t direction = 0;  // 1 Horizontal; any other value Vertical
    TransferSet set1;
    TransferSet set2;

    bool horizontal() const {
        return direction == static_cast<std::int32_t>(Direction::Horizontal);
    }
};

// The texts of one set's four fields, as the dialog shows them.
struct TransferSetFields {
    std::string row;
    std::string column;
    std::string firstListColumn;
    std::string length;
};

struct TransferLayoutFields {
    TransferSetFields set1;
    TransferSetFields set2;
    bool horizontal = false;
};

// Reads the section ExcelAuto as the dialog opens: every accepted key is taken
// into the layout, shown and written straight back, so the file holds every
// key once the dialog has been opened. A key that is not accepted leaves its
// layout field as it was and its dialog field empty.
TransferLayoutFields loadTransferLayout(IniFile& ini, TransferLayout& layout);

// Takes the layout from the dialog's fields (InitValues) and writes its keys.
// A column text that names no column is emptied in the answer and neither
// stored nor written.
TransferLayoutFields takeTransferLayout(IniFile& ini, TransferLayout& layout,
                                        const TransferLayoutFields& fields);

// A click on Horizontal or Vertical: takes effect with the next reading.
void setDirection(IniFile& ini, TransferLayout& layout, Direction direction);

// An edit's text as the dialog reads it: at most 19 characters.
std::string fieldText(const std::string& text);

}  // namespace tarvo

#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/MessageBoxes.h"
#include "files/ExportFormat.h"
#include "table/ReadingTable.h"

namespace tarvo {

inline constexpr const char* kCountMismatchText = "Number of samples missmatches the file type!";
inline constexpr const char* kNoBwFormatText = "No BW-Format";
inline constexpr const char* kNoColourFormatText = "No Colour-Format";

// Everything a layout depends on besides the message boxes of its warnings.
struct RenderRequest {
    const ReadingTable& table;  // read as it stands, mode included
    int fileType = 5;           // FILETYPE as stored; outside 0 to 5 renders nothing
    std::string_view dateText;  // "%d.%d.%d", shown by the Display header
    char version = 'M';         // VERSION letter; decides the DstCustom line form
};

// The texts one body line is built from, by column position. The positions a
// layout does not use stay empty.
struct LineTexts {
    std::array<std::string_view, kMaxColumns> at{};
    int last = 0;  // the last position to use: 9 for a colour row, 5 for a density row
};

// The header of a layout, exactly as files carry it.
std::string layoutHeader(ExportFormat format, ReadingKind mode, std::string_view dateText);

// Appends one body line, without its CR LF, and returns its length.
std::size_t formatLine(ExportFormat format, const LineTexts& texts, char version, std::string& out);

// The whole table as the text of one file: header and body lines, each ending
// with CR LF. Empty when there is nothing to write or print: the table's mode
// does not suit the layout (the operator is told why) or fileType names no
// layout. Any number of rows is rendered in full.
std::string renderTable(const RenderRequest& request, MessageBoxes& boxes);

}  // namespace tarvo

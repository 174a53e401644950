#pragma once

#include <string_view>

namespace tarvo {

// Result of every operation of the spreadsheet client.
enum class ExcelError : int {
    Success = 0,
    Unspecified = -99,
    NotInitialized = -100,
    InitializedTwice = -101,
    ClosedByUser = -102,
    WorkbookNotFound = -103,
    WorksheetNotFound = -104,
    OutOfRange = -105,
    SaveFailed = -106,
    WindowPlacementFailed = -107,
    NotInstalled = -110,
};

// The text the operator reads for a result code; any code without its own
// text (success and the unused -108 and -109 included) reads as -99's.
std::string_view excelErrorText(int code);

}  // namespace tarvo

#include "excel/ExcelError.h"

namespace tarvo {

std::string_view excelErrorText(int code) {
    switch (static_cast<ExcelError>(code)) {
        case ExcelError::NotInitialized:
            return "Please initialize Excel before usage of the automation server.";
        case ExcelError::InitializedTwice:
            return "Excel was initialized twice.";
        case ExcelError::ClosedByUser:
            return "Worksheet or Application was closed by user.";
        case ExcelError::WorkbookNotFound:
            return "Workbook not found on HD.";
        case ExcelError::WorksheetNotFound:
            return "Worksheet not found in active Workbook.";
        case ExcelError::OutOfRange:
            return "Row or Column Value out of Range.";
        case ExcelError::SaveFailed:
            return "Could not save File (Error in given Path).";
        case ExcelError::WindowPlacementFailed:
            return "Could not set window to given position or size.";
        case ExcelError::NotInstalled:
            return "MS Excel is probably not installed and can therefore not be used as an "
                   "automation server.";
        default:
            return "An unspecified Error occurred.";
    }
}

}  // namespace tarvo

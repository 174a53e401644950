#pragma once

#include "RecordingAutomationObject.h"

namespace tarvo::test {

// Names the file where the server's own fake workbook appends every cell it
// is given, one line each: the address, a tab, the value as the call log
// describes it ("B3\tBSTR \"  7\""). Unset, nothing is recorded.
inline constexpr const char* kCellRecordVariable = "TARVO_TEST_EXCEL_RECORD";

// Puts a recording worksheet in front of the fake's own when the variable
// names a file that can be opened.
void recordCellsIfAsked(FakeExcel& excel);
// The same for the named file; nothing when it cannot be opened.
void recordCellsInto(FakeExcel& excel, const std::string& path);

}  // namespace tarvo::test

#pragma once

#include <string>
#include <string_view>

#include "base/MessageBoxes.h"
#include "files/FileChooser.h"
#include "files/OutputFile.h"
#include "table/ReadingTable.h"

namespace tarvo {

inline constexpr const char* kCgatsTitle = "Export CGATS";
inline constexpr const char* kNoReadingsToExportText = "No readings to export.";

// What a CGATS file tells besides the readings. Copies, not views: the file
// dialog lets readings come, and each renews the main window's date text.
struct CgatsHeader {
    int fileType = 5;                         // the file type chosen, named in the DESCRIPTOR
    std::string dateText;                     // "%d.%d.%d", as the main window showed it
    std::string created;                      // ISO 8601 date and time: 2026-12-08T14:05:09
    std::string instrument = "densitometer";  // what took the readings
};

// The table as an ANSI CGATS.17 text, oldest reading first: a colour table's
// inks as the status filters read them (cyan through the red filter, magenta
// green, yellow blue, black visual), the percent, colour letter, time and
// comment; a density table's density, percent, time and comment. Each cell
// in a field of its own, wherever the row's VERSION put it; numbers as the
// table shows them, text quoted, an empty cell "". A quote inside a text
// becomes an apostrophe: readers know no way to escape one. Every line ends
// with CR LF.
std::string cgatsText(const ReadingTable& table, const CgatsHeader& header);

// Everything one export works with.
struct CgatsContext {
    const ReadingTable& table;
    CgatsHeader header;
    std::string_view storedPath;  // the last saved file: the dialog opens in its folder
    MessageBoxes& boxes;
    FileChooser& chooser;
    FileCreator& files;
};

// Writes the table as a CGATS file the operator chooses; an empty table only
// says so. Every failure is shown. True when the whole text reached the file.
bool exportCgats(const CgatsContext& context);

}  // namespace tarvo

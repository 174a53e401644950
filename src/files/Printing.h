#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "base/MessageBoxes.h"
#include "files/Settings.h"
#include "table/ReadingTable.h"

namespace tarvo {

// The name under which the job shows in the printer queue.
inline constexpr const char* kPrintJobName = "Lotcheck";

// A printer the operator chose, good for one job.
class PagePrinter {
  public:
    virtual ~PagePrinter() = default;
    // Prints the lines as plain text from the top left of the printable area,
    // TABs expanded, each line cut at the right edge, continuing on new pages
    // until every line is printed.
    virtual void printLines(std::string_view jobName,
                            const std::vector<std::string_view>& lines) = 0;
};

// The system's print dialog.
class PrintDialog {
  public:
    virtual ~PrintDialog() = default;
    // The chosen printer, or null when the operator cancelled.
    virtual std::unique_ptr<PagePrinter> choosePrinter() = 0;
};

// Everything one press of Print works with.
struct PrintContext {
    const ReadingTable& table;
    const Settings& settings;  // format and VERSION letter
    std::string_view dateText;
    MessageBoxes& boxes;
    PrintDialog& dialog;
};

// Prints the text that saving would write, in the current layout; DstCustom,
// which saving refuses, prints too.
void printTable(const PrintContext& context);

// The lines of a rendered text: CR LF ends a line, as do a lone CR or LF. The
// final line end starts no further line.
std::vector<std::string_view> splitLines(std::string_view text);

// A piece of a line between TABs and where it starts, in the printer's units.
struct TextRun {
    int x = 0;
    std::string_view text;
};

// Places the pieces of one line: each TAB moves on to the next multiple of
// tabWidth after the text before it. advance gives the width of a text.
std::vector<TextRun> layoutLine(std::string_view line, int tabWidth,
                                const std::function<int(std::string_view)>& advance);

}  // namespace tarvo

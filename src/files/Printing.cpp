#include "files/Printing.h"

#include <string>

#include "files/Render.h"

namespace tarvo {

void printTable(const PrintContext& context) {
    // The dialog comes first: a cancelled print renders nothing, so it shows
    // no warning either.
    std::unique_ptr<PagePrinter> printer = context.dialog.choosePrinter();
    if (!printer) {
        return;
    }
    const std::string text = renderTable(
        {context.table, context.settings.fileType, context.dateText, context.settings.version},
        context.boxes);
    if (text.empty()) {
        return;
    }
    printer->printLines(kPrintJobName, splitLines(text));
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

std::vector<TextRun> layoutLine(std::string_view line, int tabWidth,
                                const std::function<int(std::string_view)>& advance) {
    std::vector<TextRun> runs;
    int x = 0;
    while (true) {
        const std::size_t tab = line.find('\t');
        const std::string_view piece = line.substr(0, tab);
        if (!piece.empty()) {
            runs.push_back({x, piece});
            x += advance(piece);
        }
        if (tab == std::string_view::npos) {
            break;
        }
        if (tabWidth > 0) {
            x = (x / tabWidth + 1) * tabWidth;
        }
        line.remove_prefix(tab + 1);
    }
    return runs;
}

}  // namespace tarvo

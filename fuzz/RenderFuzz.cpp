// Every layout over any table: the text has exactly the lines the layout
// promises for the row count, each ending with CR LF, or nothing at all when
// the table's mode does not suit the layout.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "files/Render.h"

namespace tarvo::fuzz {
namespace {

class CountingBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

// Header lines and body lines of a layout for a table of n rows.
std::size_t promisedLines(ExportFormat format, int n) {
    auto strips = [n](int patches) { return patches > 0 ? std::max(0, n - 3 * patches) : 0; };
    switch (format) {
        case ExportFormat::Display:
            return 5 + n;
        case ExportFormat::Ascii:
            return 2 + n;
        case ExportFormat::AsciiBw:
            return 1 + n;
        case ExportFormat::Dst34:
        case ExportFormat::Dst21:
            return 4 + strips(patchCount(format));
        case ExportFormat::DstCustom:
            return 4 + strips(n / 4);
    }
    return 0;
}

bool suits(ExportFormat format, ReadingKind mode) {
    if (format == ExportFormat::Display) {
        return true;
    }
    return (format == ExportFormat::AsciiBw) == (mode == ReadingKind::Density);
}

// Cells come from numbers and a one-line comment edit: never a line end.
std::string cellText(FuzzedDataProvider& input) {
    std::string text = input.ConsumeRandomLengthString(24);
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

std::size_t crlfLines(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; ++at) {
        require(at > 0 && text[at - 1] == '\r', "every line ends with CR LF");
        ++lines;
    }
    require(text.empty() || text.back() == '\n', "nothing follows the last line");
    return lines;
}

}  // namespace
}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    using namespace tarvo::fuzz;
    FuzzedDataProvider input(data, size);
    const int fileType = input.ConsumeIntegralInRange(-1, 6);
    const char version = input.ConsumeIntegral<char>();
    const bool density = input.ConsumeBool();
    const int rows = input.ConsumeIntegralInRange(0, 400);
    ReadingTable table(900);
    if (density) {
        table.switchMode(ReadingKind::Density, 900);
    }
    for (int i = 0; i < rows; ++i) {
        table.addRow();
        const int filled = input.ConsumeIntegralInRange(0, table.columnCount());
        for (int column = 0; column < filled; ++column) {
            table.setCell(0, column, cellText(input));
        }
    }
    CountingBoxes boxes;
    const std::string text = renderTable({table, fileType, "7.12.2026", version}, boxes);
    const auto format = exportFormatFromIndex(fileType);
    if (!format || !suits(*format, table.mode())) {
        require(text.empty(), "a layout that does not apply renders nothing");
        require(format || boxes.shown == 0, "an unknown file type shows nothing");
        return 0;
    }
    require(crlfLines(text) == promisedLines(*format, rows), "each layout has its line count");
    return 0;
}

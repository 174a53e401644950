#include "files/Render.h"

#include <initializer_list>
#include <utility>

#include "files/StripBlocks.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

constexpr std::string_view kCreator = "# Creator: Tarvo, Lindquart GmbH 0049-5521-604718";
constexpr std::string_view kCrLf = "\r\n";
constexpr int kLastColourPosition = 9;
constexpr int kLastDensityPosition = 5;
constexpr std::size_t kBytesPerLineGuess = 80;

std::string fieryHeader(std::string_view type, std::string_view columns) {
    std::string header(kCreator);
    header += " \r\n#!EFI 3\r\ntype: ";
    header += type;
    header += kCrLf;
    header += columns;
    return header;
}

std::string displayHeader(ReadingKind mode, std::string_view dateText) {
    std::string header(kCreator);
    header += "\r\n#Type: Display\r\n#Day: ";
    header += dateText;
    header += kCrLf;
    header += mode == ReadingKind::Colour
                  ? "No\tNo TR\tCyan   Mag.   Yel.   Black  %    Col. Time    Comment\r\n\r\n"
                  : "No\tNo TR\tDensity\tPercent\tTime\tComment\r\n\r\n";
    return header;
}

// Display, colour row: the density, letter and time columns are padded to
// line up under the header; an empty one shows as "N".
void appendPaddedField(std::string_view text, std::string& out) {
    if (text.empty()) {
        text = "N";
    }
    out += text;
    if (text.size() == 4) {
        out += ' ';
    }
    out += "  ";
}

// Display, colour row: the percent column ends with a TAB after up to three
// blanks, each blank counting towards the length the next one is judged by.
void appendPercentField(std::string_view text, std::string& out) {
    out += text;
    std::size_t length = text.size();
    for (std::size_t below : {7u, 6u, 5u}) {
        if (length < below) {
            out += ' ';
            ++length;
        }
    }
    out += '\t';
}

void appendDisplayColour(const LineTexts& texts, std::string& out) {
    for (int position = 0; position <= texts.last; ++position) {
        std::string_view text = texts.at[position];
        switch (position) {
            case 0:
            case 1:
            case 9:
                out += text;
                out += '\t';
                break;
            case 6:
                appendPercentField(text, out);
                break;
            default:
                appendPaddedField(text, out);
                break;
        }
    }
}

void appendDisplayDensity(const LineTexts& texts, std::string& out) {
    for (int position = 0; position <= texts.last; ++position) {
        out += texts.at[position];
        out += '\t';
    }
}

void appendEach(const LineTexts& texts, std::initializer_list<int> positions,
                std::string_view separator, std::string& out) {
    for (int position : positions) {
        out += texts.at[position];
        out += separator;
    }
}

void appendAscii(const LineTexts& texts, std::string& out) {
    constexpr std::pair<char, int> kFields[] = {{'V', 5}, {'C', 2}, {'M', 3}, {'Y', 4}};
    for (auto [letter, position] : kFields) {
        out += letter;
        out += texts.at[position];
        out += ' ';
    }
}

// Letters below "M" ("L" among them) mark a device that sends no percent.
bool showsPercent(char version) {
    return static_cast<unsigned char>(version) >= static_cast<unsigned char>('M');
}

bool modeSuits(ExportFormat format, ReadingKind mode) {
    switch (format) {
        case ExportFormat::Display:
            return true;
        case ExportFormat::AsciiBw:
            return mode == ReadingKind::Density;
        default:
            return mode == ReadingKind::Colour;
    }
}

int lastPosition(ReadingKind mode) {
    return mode == ReadingKind::Colour ? kLastColourPosition : kLastDensityPosition;
}

LineTexts rowTexts(const ReadingTable& table, int row, int last) {
    LineTexts texts;
    texts.last = last;
    for (int position = 0; position <= texts.last; ++position) {
        texts.at[position] = table.cell(row, position);
    }
    return texts;
}

// What one rendering works from, taken when it began: a message box during the
// rendering lets readings arrive, and a row that went away meanwhile reads as
// empty cells.
struct Pass {
    const RenderRequest& request;
    ExportFormat format;
    int rows;
    ReadingKind mode;
    std::string& out;
};

void appendLine(const Pass& pass, const LineTexts& texts) {
    formatLine(pass.format, texts, pass.request.version, pass.out);
    pass.out += kCrLf;
}

void appendRows(const Pass& pass, bool oldestFirst) {
    const int last = lastPosition(pass.mode);
    for (int i = 0; i < pass.rows; ++i) {
        const int row = oldestFirst ? pass.rows - 1 - i : i;
        appendLine(pass, rowTexts(pass.request.table, row, last));
    }
}

// One line per patch joins the patch's reading of each block: the cyan
// block's row gives the number, cyan and percent, the other blocks their own
// ink. A table longer than four blocks gets a line for each extra reading.
void appendStripLines(const Pass& pass, int patches) {
    if (patches <= 0) {
        return;
    }
    const ReadingTable& table = pass.request.table;
    for (int patch = 1; patch <= pass.rows - 3 * patches; ++patch) {
        const int cyanRow = stripRow(pass.rows, patches, 0, patch);
        LineTexts texts;
        texts.last = kLastColourPosition;
        texts.at[0] = table.cell(cyanRow, 0);
        for (int block = 0; block < kStripBlocks; ++block) {
            const int column = stripColumn(block);
            texts.at[column] = table.cell(stripRow(pass.rows, patches, block, patch), column);
        }
        texts.at[6] = table.cell(cyanRow, 6);
        appendLine(pass, texts);
    }
}

void appendBody(const Pass& pass) {
    switch (pass.format) {
        case ExportFormat::Display:
            appendRows(pass, false);
            break;
        case ExportFormat::Ascii:
        case ExportFormat::AsciiBw:
            appendRows(pass, true);
            break;
        case ExportFormat::Dst34:
        case ExportFormat::Dst21:
        case ExportFormat::DstCustom:
            appendStripLines(pass, stripPatchCount(pass.format, pass.rows));
            break;
    }
}

void warnOnCount(ExportFormat format, int rows, MessageBoxes& boxes) {
    const int patches = patchCount(format);
    if (patches > 0 && rows != kStripBlocks * patches) {
        boxes.show(kCountMismatchText, text::kProgramName);
    }
}

}  // namespace

std::string layoutHeader(ExportFormat format, ReadingKind mode, std::string_view dateText) {
    constexpr std::string_view kInkColumns = "#  Cyan  Magenta Yellow Black \r\n";
    switch (format) {
        case ExportFormat::Dst34:
            return fieryHeader("1DST34", kInkColumns);
        case ExportFormat::Dst21:
            return fieryHeader("1DST21", kInkColumns);
        case ExportFormat::DstCustom:
            return fieryHeader("1DST", "# Percent  Cyan  Magenta Yellow Black \r\n");
        case ExportFormat::Ascii:
            return std::string(kCreator) + " \r\n# \r\n";
        case ExportFormat::AsciiBw:
            return "#  Density  Percentage \r\n";
        case ExportFormat::Display:
            return displayHeader(mode, dateText);
    }
    return {};
}

std::size_t formatLine(ExportFormat format, const LineTexts& texts, char version,
                       std::string& out) {
    const std::size_t start = out.size();
    switch (format) {
        case ExportFormat::Display:
            if (texts.last == kLastColourPosition) {
                appendDisplayColour(texts, out);
            } else {
                appendDisplayDensity(texts, out);
            }
            break;
        case ExportFormat::AsciiBw:
            appendEach(texts, {0, 2, 3, 4}, "  ", out);
            break;
        case ExportFormat::Ascii:
            appendAscii(texts, out);
            break;
        case ExportFormat::Dst34:
        case ExportFormat::Dst21:
            appendEach(texts, {0, 2, 3, 4, 5}, " ", out);
            break;
        case ExportFormat::DstCustom:
            if (showsPercent(version)) {
                appendEach(texts, {6}, " ", out);
            }
            appendEach(texts, {2, 3, 4, 5}, " ", out);
            break;
    }
    return out.size() - start;
}

std::string renderTable(const RenderRequest& request, MessageBoxes& boxes) {
    const auto format = exportFormatFromIndex(request.fileType);
    if (!format) {
        return {};
    }
    // The row count is taken once: a message box below lets readings arrive.
    const int rows = request.table.rowCount();
    std::string out = layoutHeader(*format, request.table.mode(), request.dateText);
    warnOnCount(*format, rows, boxes);
    // Only now: a reading of the other kind may have come while the warning was open.
    const ReadingKind mode = request.table.mode();
    if (!modeSuits(*format, mode)) {
        boxes.show(*format == ExportFormat::AsciiBw ? kNoColourFormatText : kNoBwFormatText,
                   text::kProgramName);
        return {};
    }
    out.reserve(out.size() + static_cast<std::size_t>(rows) * kBytesPerLineGuess);
    appendBody({request, *format, rows, mode, out});
    return out;
}

}  // namespace tarvo

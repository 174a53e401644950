#include "files/Cgats.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "files/ExportFormat.h"
#include "files/FilePath.h"
#include "files/Saving.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
const FileFilter kCgatsFilter{"CGATS (*.txt)", "*.txt"};

// Where one row keeps its cells besides the row number and the inks (or
// the density). The VERSION letter "L" measures no percent, so its colour
// rows hold the letter, the time and a comment typed before the reading one
// column to the left; a comment written afterwards with Comment still goes
// into the last column.
struct RowShape {
    std::optional<int> percent;
    std::optional<int> letter;
    int time = 0;
    std::vector<int> comments;
};

const RowShape kDensityRow{3, std::nullopt, 4, {5}};
const RowShape kColourRow{6, 7, 8, {9}};
const RowShape kShortColourRow{std::nullopt, 6, 7, {8, 9}};

enum class Content { Cell, Percent, Letter, Time, Comment };

// A field of the data and what of the row it holds.
struct CgatsField {
    const char* name;
    Content content;
    int column = 0;  // for a Cell: the table column
};

// Fields of the format's own, and those this file declares with KEYWORD.
const std::vector<CgatsField> kColourFields = {
    {"SAMPLE_ID", Content::Cell, 0}, {"D_RED", Content::Cell, 2}, {"D_GREEN", Content::Cell, 3},
    {"D_BLUE", Content::Cell, 4},    {"D_VIS", Content::Cell, 5}, {"PERCENT", Content::Percent},
    {"COLOR", Content::Letter},      {"TIME", Content::Time},     {"COMMENT", Content::Comment}};
const std::vector<CgatsField> kDensityFields = {{"SAMPLE_ID", Content::Cell, 0},
                                                {"DENSITY", Content::Cell, 2},
                                                {"PERCENT", Content::Percent},
                                                {"TIME", Content::Time},
                                                {"COMMENT", Content::Comment}};
constexpr const char* kDeclarable[] = {"PERCENT", "COLOR", "TIME", "COMMENT"};

// A percent is a number; the cycle writes a letter, or nothing, there only
// in a row without one.
bool isShortColourRow(const ReadingTable& table, int row) {
    const std::string_view cell = table.cell(row, *kColourRow.percent);
    return cell.empty() ||
           (cell.size() == 1 && std::string_view("CMYK").find(cell[0]) != std::string_view::npos);
}

const RowShape& shapeOf(const ReadingTable& table, int row) {
    if (table.mode() == ReadingKind::Density) {
        return kDensityRow;
    }
    return isShortColourRow(table, row) ? kShortColourRow : kColourRow;
}

// The percent field stays out only when no row has a percent; in a table
// that mixes both shapes, a row without one leaves its field empty.
std::vector<CgatsField> fieldsOf(const ReadingTable& table) {
    if (table.mode() == ReadingKind::Density) {
        return kDensityFields;
    }
    for (int row = 0; row < table.rowCount(); ++row) {
        if (!isShortColourRow(table, row)) {
            return kColourFields;
        }
    }
    std::vector<CgatsField> fields = kColourFields;
    std::erase_if(fields,
                  [](const CgatsField& field) { return field.content == Content::Percent; });
    return fields;
}

bool hasField(const std::vector<CgatsField>& fields, std::string_view name) {
    return std::any_of(fields.begin(), fields.end(),
                       [&](const CgatsField& field) { return name == field.name; });
}

std::string_view cellOrEmpty(const ReadingTable& table, int row, std::optional<int> column) {
    return column ? table.cell(row, *column) : std::string_view();
}

// Both comments of a short row, when it has two, in the order written.
std::string commentOf(const ReadingTable& table, int row, const RowShape& shape) {
    std::string text;
    for (int column : shape.comments) {
        const std::string_view comment = table.cell(row, column);
        if (!comment.empty()) {
            text.append(text.empty() ? "" : "; ").append(comment);
        }
    }
    return text;
}

std::string fieldText(const ReadingTable& table, int row, const CgatsField& field) {
    const RowShape& shape = shapeOf(table, row);
    switch (field.content) {
        case Content::Cell:
            return std::string(table.cell(row, field.column));
        case Content::Percent:
            return std::string(cellOrEmpty(table, row, shape.percent));
        case Content::Letter:
            return std::string(cellOrEmpty(table, row, shape.letter));
        case Content::Time:
            return std::string(table.cell(row, shape.time));
        case Content::Comment:
            return commentOf(table, row, shape);
    }
    return {};
}

bool isText(const CgatsField& field) {
    return field.content == Content::Letter || field.content == Content::Time ||
           field.content == Content::Comment;
}

// Readers end a string at its first quote, and LittleCMS counts what
// follows as further fields, so a quote becomes an apostrophe; a line
// break would end the data line.
std::string cgatsString(std::string_view text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"') {
            c = '\'';
        } else if (c == '\r' || c == '\n') {
            c = ' ';
        }
        result += c;
    }
    return result + "\"";
}

void addLine(std::string& out, std::string_view line) {
    out.append(line).append(kLineEnd);
}

std::string descriptor(const CgatsHeader& header) {
    std::string text(header.dateText);
    if (const auto format = exportFormatFromIndex(header.fileType)) {
        text.append(" ").append(typeName(*format));
    }
    return text;
}

void addHeader(std::string& out, const CgatsHeader& header, const std::vector<CgatsField>& fields) {
    addLine(out, "CGATS.17");
    addLine(out, std::string("ORIGINATOR ") +
                     cgatsString(std::string(text::kProgramName) + " " + text::kVersion));
    addLine(out, "CREATED " + cgatsString(header.created));
    addLine(out, "DESCRIPTOR " + cgatsString(descriptor(header)));
    addLine(out, "INSTRUMENTATION " + cgatsString(header.instrument));
    for (const char* keyword : kDeclarable) {
        if (hasField(fields, keyword)) {
            addLine(out, std::string("KEYWORD ") + cgatsString(keyword));
        }
    }
    addLine(out, "NUMBER_OF_FIELDS " + std::to_string(fields.size()));
    addLine(out, "BEGIN_DATA_FORMAT");
    std::string names;
    for (const CgatsField& field : fields) {
        names.append(names.empty() ? "" : " ").append(field.name);
    }
    addLine(out, names);
    addLine(out, "END_DATA_FORMAT");
}

// An empty number is written as an empty string too: a missing token would
// move every later field of the line one to the left.
std::string dataLine(const ReadingTable& table, int row, const std::vector<CgatsField>& fields) {
    std::string line;
    for (const CgatsField& field : fields) {
        const std::string text = fieldText(table, row, field);
        line.append(line.empty() ? "" : " ");
        line.append(isText(field) || text.empty() ? cgatsString(text) : text);
    }
    return line;
}

}  // namespace

std::string cgatsText(const ReadingTable& table, const CgatsHeader& header) {
    const std::vector<CgatsField> fields = fieldsOf(table);
    std::string out;
    addHeader(out, header, fields);
    addLine(out, "NUMBER_OF_SETS " + std::to_string(table.rowCount()));
    addLine(out, "BEGIN_DATA");
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        addLine(out, dataLine(table, row, fields));
    }
    addLine(out, "END_DATA");
    return out;
}

bool exportCgats(const CgatsContext& context) {
    if (context.table.rowCount() == 0) {
        context.boxes.show(kNoReadingsToExportText, text::kProgramName);
        return false;
    }
    const PathParts parts = splitPath(std::string(context.storedPath));
    FileDialogRequest request;
    request.title = kCgatsTitle;
    request.filters = {kCgatsFilter};
    request.defaultExtension = "txt";
    request.initialFolder = parts.drive + parts.folder;
    request.overwritePrompt = true;
    const std::string chosen = context.chooser.choose(request);
    if (chosen.empty()) {
        return false;
    }
    // Rendered after the dialog, so readings taken while it was open are in the file.
    const FileWrite written = writeChosenFile(
        chosen, [&] { return cgatsText(context.table, context.header); }, context.files,
        context.boxes);
    return written == FileWrite::Written;
}

}  // namespace tarvo

#include "files/Cgats.h"

#include <vector>

#include "files/ExportFormat.h"
#include "files/FilePath.h"
#include "files/Saving.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
const FileFilter kCgatsFilter{"CGATS (*.txt)", "*.txt"};

// A field of the data, the table column it comes from and whether it is a
// string the format quotes.
struct CgatsField {
    const char* name;
    int column;
    bool quoted = false;
};

// Fields of the format's own, and those this file declares with KEYWORD.
const std::vector<CgatsField> kColourFields = {
    {"SAMPLE_ID", 0}, {"D_RED", 2},   {"D_GREEN", 3},    {"D_BLUE", 4},
    {"D_VIS", 5},     {"PERCENT", 6}, {"TIME", 8, true}, {"COMMENT", 9, true}};
// A VERSION letter below "M" measures no percent: its colour rows hold the
// letter and the time one column to the left, and a file that holds such a
// row leaves the percent out rather than filling it with the letter.
const std::vector<CgatsField> kShortColourFields = {
    {"SAMPLE_ID", 0}, {"D_RED", 2},      {"D_GREEN", 3},      {"D_BLUE", 4},
    {"D_VIS", 5},     {"TIME", 8, true}, {"COMMENT", 9, true}};
const std::vector<CgatsField> kDensityFields = {
    {"SAMPLE_ID", 0}, {"DENSITY", 2}, {"PERCENT", 3}, {"TIME", 4, true}, {"COMMENT", 5, true}};
constexpr const char* kDeclarable[] = {"PERCENT", "TIME", "COMMENT"};
constexpr int kLetterColumn = 7, kTimeColumn = 8;

// A short row's time stands in the letter's column and its own is empty.
bool isShortColourRow(const ReadingTable& table, int row) {
    return table.cell(row, kTimeColumn).empty() && !table.cell(row, kLetterColumn).empty();
}

bool hasShortColourRow(const ReadingTable& table) {
    for (int row = 0; row < table.rowCount(); ++row) {
        if (isShortColourRow(table, row)) {
            return true;
        }
    }
    return false;
}

const std::vector<CgatsField>& fieldsOf(const ReadingTable& table) {
    if (table.mode() == ReadingKind::Density) {
        return kDensityFields;
    }
    return hasShortColourRow(table) ? kShortColourFields : kColourFields;
}

bool hasField(const std::vector<CgatsField>& fields, std::string_view name) {
    for (const CgatsField& field : fields) {
        if (name == field.name) {
            return true;
        }
    }
    return false;
}

// Where a field's text stands in this row.
int sourceColumn(const ReadingTable& table, int row, const CgatsField& field) {
    const bool shifted = table.mode() != ReadingKind::Density && field.column == kTimeColumn &&
                         isShortColourRow(table, row);
    return shifted ? kLetterColumn : field.column;
}

std::string cgatsString(std::string_view text) {
    std::string result = "\"";
    for (char c : text) {
        result += c;
        if (c == '"') {
            result += '"';
        }
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
    addLine(out, "INSTRUMENTATION " + cgatsString("densitometer"));
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

std::string dataLine(const ReadingTable& table, int row, const std::vector<CgatsField>& fields) {
    std::string line;
    for (const CgatsField& field : fields) {
        const std::string_view cell = table.cell(row, sourceColumn(table, row, field));
        line.append(line.empty() ? "" : " ");
        line.append(field.quoted ? cgatsString(cell) : std::string(cell));
    }
    return line;
}

}  // namespace

std::string cgatsText(const ReadingTable& table, const CgatsHeader& header) {
    const auto& fields = fieldsOf(table);
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

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
const std::vector<CgatsField> kDensityFields = {
    {"SAMPLE_ID", 0}, {"DENSITY", 2}, {"PERCENT", 3}, {"TIME", 4, true}, {"COMMENT", 5, true}};
constexpr const char* kDeclaredFields[] = {"PERCENT", "TIME", "COMMENT"};

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
    for (const char* keyword : kDeclaredFields) {
        addLine(out, std::string("KEYWORD ") + cgatsString(keyword));
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
        const std::string_view cell = table.cell(row, field.column);
        line.append(line.empty() ? "" : " ");
        line.append(field.quoted ? cgatsString(cell) : std::string(cell));
    }
    return line;
}

}  // namespace

std::string cgatsText(const ReadingTable& table, const CgatsHeader& header) {
    const auto& fields = table.mode() == ReadingKind::Density ? kDensityFields : kColourFields;
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

#include "app/journal/ReadingJournal.h"

#include "app/journal/JournalRecord.h"
#include "app/journal/JournalReplay.h"

namespace tarvo {

namespace {

// Row cells up to the last one written.
std::vector<std::string> rowFields(const ReadingTable& table, int row) {
    std::vector<std::string> fields;
    for (int column = 0; column < kMaxColumns; ++column)
        fields.emplace_back(table.cell(row, column));
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

std::string rowRecord(const ReadingTable& table, int row, bool replaced) {
    std::vector<std::string> fields = rowFields(table, row);
    if (replaced)
        fields.insert(fields.begin(), std::to_string(row));
    return encodeRecord({replaced ? "replace" : "add", std::move(fields)});
}

}  // namespace

std::string journalFailureText(const std::string& reason) {
    return "The readings cannot be kept on disk: " + reason;
}

ReadingJournal::ReadingJournal(ReadingTable& table, JournalFiles& files, std::filesystem::path path)
    : table_(table), files_(files), path_(std::move(path)) {}

ReadingJournal::~ReadingJournal() {
    table_.removeObserver(this);
}

void ReadingJournal::begin() {
    if (following_)
        return;
    following_ = true;
    table_.addObserver(this);
    std::string reason;
    if (!open(reason))
        tell(reason);
}

void ReadingJournal::saved() {
    if (!following_)
        return;
    unsaved_ = false;
    record(encodeRecord({"saved", {}}));
}

void ReadingJournal::readingWritten(int row, bool replaced) {
    change(rowRecord(table_, row, replaced));
}

void ReadingJournal::columnsRebuilt() {
    change(wholeTable());
}

void ReadingJournal::rowsCleared() {
    change(encodeRecord({"clear", {}}));
}

void ReadingJournal::rowDeleted(int index) {
    change(encodeRecord({"delete", {std::to_string(index)}}));
}

void ReadingJournal::commentWritten(int row) {
    const int column = table_.commentColumn();
    change(encodeRecord(
        {"cell",
         {std::to_string(row), std::to_string(column), std::string(table_.cell(row, column))}}));
}

void ReadingJournal::change(const std::string& records) {
    unsaved_ = true;
    record(records);
}

// The file is written before the change is done with; the rows stay in the
// window whatever the disk says.
void ReadingJournal::record(const std::string& records) {
    std::string reason;
    // A file made anew starts with the whole table, this change included.
    if (!file_) {
        if (!open(reason))
            tell(reason);
        return;
    }
    // A torn record may end the file: the line break closes it, and the
    // whole table makes up for what was lost.
    reason = behind_ ? file_->append("\n" + wholeTable()) : file_->append(records);
    behind_ = !reason.empty();
    if (behind_)
        tell(reason);
}

bool ReadingJournal::open(std::string& reason) {
    file_ = files_.create(path_, reason);
    if (!file_)
        return false;
    const std::string header =
        encodeRecord({std::string(kJournalHeader), {std::string(kJournalVersion)}});
    reason = file_->append(header + wholeTable());
    behind_ = false;
    // A file without its first line is no journal: it is made anew next time.
    if (!reason.empty())
        file_.reset();
    return reason.empty();
}

std::string ReadingJournal::wholeTable() const {
    std::string records = encodeRecord({"layout", {std::string(layoutName(table_.layout()))}});
    for (int row = table_.rowCount() - 1; row >= 0; --row)
        records += rowRecord(table_, row, false);
    if (!unsaved_ && table_.rowCount() > 0)
        records += encodeRecord({"saved", {}});
    return records;
}

void ReadingJournal::tell(const std::string& reason) {
    if (told_)
        return;
    told_ = true;
    if (failed_)
        failed_(journalFailureText(reason));
}

}  // namespace tarvo

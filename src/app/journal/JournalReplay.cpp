#include "app/journal/JournalReplay.h"

#include <array>
#include <charconv>
#include <deque>

#include "app/journal/JournalRecord.h"

namespace tarvo {

namespace {

constexpr std::array<std::pair<ColumnLayout, std::string_view>, 3> kLayoutNames{{
    {ColumnLayout::ColourAtCreation, "colour-at-creation"},
    {ColumnLayout::Colour, "colour"},
    {ColumnLayout::Density, "density"},
}};

std::optional<int> number(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size())
        return std::nullopt;
    int value = 0;
    const std::string& text = fields[index];
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

RowCells cellsFrom(const std::vector<std::string>& fields, std::size_t first) {
    RowCells cells;
    for (std::size_t c = 0; c < cells.size() && first + c < fields.size(); ++c)
        cells[c] = fields[first + c];
    return cells;
}

// The table as the records build it; rows that a record names but that do not
// exist are left alone, as the table itself does.
class Replay {
  public:
    void apply(const JournalRecord& record) {
        const auto& kind = record.kind;
        const auto& fields = record.fields;
        if (kind == "saved") {
            table_.unsaved = false;
            return;
        }
        table_.unsaved = true;
        if (kind == "layout") {
            table_.layout = layoutFromName(fields.empty() ? "" : fields[0]).value_or(table_.layout);
            rows_.clear();
        } else if (kind == "add") {
            rows_.push_front(cellsFrom(fields, 0));
        } else if (kind == "replace") {
            if (RowCells* row = rowAt(number(fields, 0)))
                *row = cellsFrom(fields, 1);
        } else if (kind == "cell") {
            const auto column = number(fields, 1);
            RowCells* row = rowAt(number(fields, 0));
            if (row && column && *column >= 0 && *column < kMaxColumns && fields.size() > 2)
                (*row)[static_cast<std::size_t>(*column)] = fields[2];
        } else if (kind == "delete") {
            deleteRow(number(fields, 0));
        } else if (kind == "clear") {
            rows_.clear();
        }
    }

    JournalTable take() {
        table_.rows.assign(rows_.begin(), rows_.end());
        return std::move(table_);
    }

  private:
    RowCells* rowAt(std::optional<int> index) {
        if (!index || *index < 0 || *index >= static_cast<int>(rows_.size()))
            return nullptr;
        return &rows_[static_cast<std::size_t>(*index)];
    }

    void deleteRow(std::optional<int> index) {
        if (!rowAt(index))
            return;
        rows_.erase(rows_.begin() + *index);
        const std::size_t n = rows_.size();
        for (std::size_t i = 0; i < n; ++i)
            rows_[i][0] = std::to_string(n - i);
    }

    JournalTable table_;
    std::deque<RowCells> rows_;
};

}  // namespace

std::string_view layoutName(ColumnLayout layout) {
    for (const auto& [value, name] : kLayoutNames) {
        if (value == layout)
            return name;
    }
    return kLayoutNames[0].second;
}

std::optional<ColumnLayout> layoutFromName(std::string_view name) {
    for (const auto& [value, known] : kLayoutNames) {
        if (known == name)
            return value;
    }
    return std::nullopt;
}

std::optional<JournalTable> replayJournal(std::string_view text) {
    Replay replay;
    const bool empty = text.empty();
    bool headerSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const auto record = decodeRecord(line);
        if (!record)
            continue;
        if (!headerSeen) {
            const bool header = record->kind == kJournalHeader && record->fields.size() == 1 &&
                                record->fields[0] == kJournalVersion;
            if (!header)
                return std::nullopt;
            headerSeen = true;
            continue;
        }
        replay.apply(*record);
    }
    if (!headerSeen && !empty)
        return std::nullopt;
    return replay.take();
}

}  // namespace tarvo

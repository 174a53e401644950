#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "table/ReadingTable.h"

namespace tarvo {

// The table a journal describes, rebuilt record by record.
struct JournalTable {
    ColumnLayout layout = ColumnLayout::ColourAtCreation;
    std::vector<RowCells> rows;  // newest first, as the table shows them
    bool unsaved = false;        // a change came after the last save
};

std::string_view layoutName(ColumnLayout layout);
std::optional<ColumnLayout> layoutFromName(std::string_view name);

// Replays a whole journal. Nothing when its first whole record is not the
// journal's first line (not a journal, or one of a later format); an empty
// text gives an empty table. Torn lines are skipped.
std::optional<JournalTable> replayJournal(std::string_view text);

}  // namespace tarvo

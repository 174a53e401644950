#pragma once

#include <filesystem>
#include <string>

#include "app/DateText.h"
#include "app/JournalReplay.h"
#include "app/ReadingJournal.h"
#include "res/MessageBoxes.h"

namespace tarvo {

// What the journal of the last session holds.
struct LastSession {
    enum class State { Nothing, Unsaved, Unreadable };
    State state = State::Nothing;
    JournalTable table;
};

LastSession readLastSession(JournalFiles& files, const std::filesystem::path& journal);

// Renames the journal to journal-YYYYMMDD-HHMMSS beside it (with -2, -3, ...
// when that name is taken), where the program never touches it again. False
// with the reason when it cannot be renamed.
bool keepAside(JournalFiles& files, const std::filesystem::path& journal, const LocalTime& now,
               std::string& reason);

// "Readings not saved in the last session: %d. Restore them?"
std::string restoreQuestion(int rows);

// At start-up, once the main window is shown: offers the readings the last
// session did not save (Yes puts them back, No keeps its journal aside), then
// starts this session's journal. A journal that cannot be read is kept aside
// without a word.
void beginJournalSession(ReadingJournal& journal, ReadingTable& table, int clientWidth,
                         MessageBoxes& boxes, const Clock& clock);

}  // namespace tarvo

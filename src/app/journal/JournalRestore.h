#pragma once

#include <filesystem>
#include <string>

#include "app/DateText.h"
#include "app/journal/JournalReplay.h"
#include "app/journal/ReadingJournal.h"
#include "base/MessageBoxes.h"

namespace tarvo {

// What the journal of the last session holds.
struct LastSession {
    enum class State { Nothing, Unsaved, Unreadable };
    State state = State::Nothing;
    JournalTable table;
};

LastSession readLastSession(JournalFiles& files, const std::filesystem::path& journal);

// A journal name and this session's hold on it; no path when every name is
// held.
struct ClaimedJournal {
    std::filesystem::path path;
    std::unique_ptr<JournalClaim> claim;
    LastSession last;  // what the journal of that name holds, read while choosing
};

// Every running session keeps a journal of its own, so a second tarvo never
// reads, offers, renames or empties the journal the first is writing. The
// names are `first`, then first.2 up to first.9. Of those no running session
// holds, the first one that has readings to offer (or to keep aside) is
// taken, so a journal a second session left is offered at the next start;
// else the first free one. With one tarvo at a time that is always `first`.
// Only names in use are claimed beyond the first free one, so no start
// leaves lock files of names it did not need.
ClaimedJournal claimJournal(JournalFiles& files, const std::filesystem::path& first);

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
// The same with the last session already read (see claimJournal).
void beginJournalSession(ReadingJournal& journal, LastSession last, ReadingTable& table,
                         int clientWidth, MessageBoxes& boxes, const Clock& clock);

}  // namespace tarvo

#include "app/journal/JournalRestore.h"

#include <cstdio>

#include "res/Texts.h"

namespace tarvo {

namespace {

std::filesystem::path asideName(const std::filesystem::path& journal, const LocalTime& t,
                                int attempt) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    std::string name = journal.filename().string() + stamp;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return journal.parent_path() / name;
}

// Moves the journal out of the way; false when it is still there.
bool setAside(ReadingJournal& journal, const Clock& clock) {
    std::string reason;
    if (keepAside(journal.files(), journal.path(), clock.now(), reason))
        return true;
    journal.cannotBegin(reason);
    return false;
}

}  // namespace

LastSession readLastSession(JournalFiles& files, const std::filesystem::path& journal) {
    const JournalText text = files.read(journal);
    if (text.state == JournalText::State::Missing)
        return {};
    std::optional<JournalTable> table;
    if (text.state == JournalText::State::Read)
        table = replayJournal(text.bytes);
    if (!table)
        return {LastSession::State::Unreadable, {}};
    const bool offered = table->unsaved && !table->rows.empty();
    return {offered ? LastSession::State::Unsaved : LastSession::State::Nothing, std::move(*table)};
}

ClaimedJournal claimJournal(JournalFiles& files, const std::filesystem::path& first) {
    constexpr int kNames = 9;
    ClaimedJournal chosen;
    for (int number = 1; number <= kNames; ++number) {
        std::filesystem::path path = first;
        if (number > 1)
            path += "." + std::to_string(number);
        // A name never used has nothing to offer: it is only worth a claim
        // while none is chosen.
        if (!files.inUse(path) && chosen.claim)
            continue;
        std::unique_ptr<JournalClaim> claim = files.claim(path);
        if (!claim)
            continue;
        LastSession last = readLastSession(files, path);
        if (last.state != LastSession::State::Nothing)
            return {std::move(path), std::move(claim), std::move(last)};
        if (!chosen.claim)
            chosen = {std::move(path), std::move(claim), std::move(last)};
    }
    return chosen;
}

bool keepAside(JournalFiles& files, const std::filesystem::path& journal, const LocalTime& now,
               std::string& reason) {
    for (int attempt = 1; attempt < 1000; ++attempt) {
        switch (files.rename(journal, asideName(journal, now, attempt), reason)) {
            case Renamed::Done:
                return true;
            case Renamed::NameTaken:
                continue;
            case Renamed::Failed:
                return false;
        }
    }
    reason = "every name for the old journal is taken";
    return false;
}

std::string restoreQuestion(int rows) {
    return "Readings not saved in the last session: " + std::to_string(rows) + ". Restore them?";
}

void beginJournalSession(ReadingJournal& journal, ReadingTable& table, int clientWidth,
                         MessageBoxes& boxes, const Clock& clock) {
    beginJournalSession(journal, readLastSession(journal.files(), journal.path()), table,
                        clientWidth, boxes, clock);
}

void beginJournalSession(ReadingJournal& journal, LastSession last, ReadingTable& table,
                         int clientWidth, MessageBoxes& boxes, const Clock& clock) {
    if (last.state == LastSession::State::Unreadable) {
        if (setAside(journal, clock))
            journal.begin();
        return;
    }
    if (last.state == LastSession::State::Unsaved) {
        const int rows = static_cast<int>(last.table.rows.size());
        const MessageAnswer answer =
            boxes.show(restoreQuestion(rows), text::kProgramName, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) {
            if (setAside(journal, clock))
                journal.begin();
            return;
        }
        table.restore(last.table.layout, clientWidth, std::move(last.table.rows));
        // The rows are in the window and will be in the new journal: the old one
        // is only a spare copy, and the new one may take its place if need be.
        std::string ignored;
        keepAside(journal.files(), journal.path(), clock.now(), ignored);
    }
    journal.begin();
}

}  // namespace tarvo

#include "app/JournalRestore.h"

#include <cstdio>
#include <fstream>
#include <iterator>

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
    std::error_code error;
    if (keepAside(journal.path(), clock.now(), error))
        return true;
    journal.cannotBegin(error.message());
    return false;
}

}  // namespace

LastSession readLastSession(const std::filesystem::path& journal) {
    std::error_code error;
    if (!std::filesystem::exists(journal, error) && !error)
        return {};
    std::ifstream in(journal, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::optional<JournalTable> table;
    if (in && !in.bad())
        table = replayJournal(text);
    if (!table)
        return {LastSession::State::Unreadable, {}};
    const bool offered = table->unsaved && !table->rows.empty();
    return {offered ? LastSession::State::Unsaved : LastSession::State::Nothing, std::move(*table)};
}

bool keepAside(const std::filesystem::path& journal, const LocalTime& now, std::error_code& error) {
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const std::filesystem::path aside = asideName(journal, now, attempt);
        const bool taken = std::filesystem::exists(aside, error);
        if (error)
            return false;
        if (taken)
            continue;
        std::filesystem::rename(journal, aside, error);
        return !error;
    }
    error = std::make_error_code(std::errc::file_exists);
    return false;
}

std::string restoreQuestion(int rows) {
    return "Readings not saved in the last session: " + std::to_string(rows) + ". Restore them?";
}

void beginJournalSession(ReadingJournal& journal, ReadingTable& table, int clientWidth,
                         MessageBoxes& boxes, const Clock& clock) {
    LastSession last = readLastSession(journal.path());
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
        std::error_code ignored;
        keepAside(journal.path(), clock.now(), ignored);
    }
    journal.begin();
}

}  // namespace tarvo

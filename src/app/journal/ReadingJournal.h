#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/journal/JournalFile.h"
#include "table/ReadingTable.h"

namespace tarvo {

// Keeps every change of the table in a file, one record each, flushed to the
// disk before the change is done with, so that a crash, a kill or a power cut
// loses no reading the operator has seen. The format is in JournalRecord.h.
//
// A record that cannot be written is not lost from the window, only from the
// file: the next change tries again and then writes the whole table, so the
// file again describes what the window shows.
class ReadingJournal final : public TableObserver {
  public:
    // Told once per session, with the text to show, when the journal cannot be
    // written.
    using FailureListener = std::function<void(const std::string& message)>;

    ReadingJournal(ReadingTable& table, JournalFiles& files, std::filesystem::path path);
    ~ReadingJournal() override;
    ReadingJournal(const ReadingJournal&) = delete;
    ReadingJournal& operator=(const ReadingJournal&) = delete;

    void setFailureListener(FailureListener listener) { failed_ = std::move(listener); }
    const std::filesystem::path& path() const { return path_; }
    JournalFiles& files() const { return files_; }

    // Starts this session's file with the table as it stands; from now on it
    // follows the table.
    void begin();
    // This session keeps no journal (the last one could not be moved out of
    // the way): says so, once.
    void cannotBegin(const std::string& reason) { tell(reason); }
    // The table was written whole to a file.
    void saved();

    void columnsRebuilt() override;
    void rowsReset() override {}
    void rowInserted(int) override {}
    void rowChanged(int) override {}
    // A reading's row holds all its texts: added at the top, or written over
    // the row that Change chose.
    void readingWritten(int row, bool replaced) override;
    void rowsCleared() override;
    void rowDeleted(int index) override;
    void commentWritten(int row) override;

  private:
    void change(const std::string& records);
    void record(const std::string& records);
    std::string wholeTable() const;
    bool open(std::string& reason);
    void tell(const std::string& reason);

    ReadingTable& table_;
    JournalFiles& files_;
    std::filesystem::path path_;
    std::unique_ptr<JournalFile> file_;
    FailureListener failed_;
    bool following_ = false;
    bool behind_ = false;  // a record was lost: the file no longer matches the table
    bool unsaved_ = true;  // rows put back from an earlier session are not saved
    bool told_ = false;
};

// "The readings cannot be kept on disk: " and the reason.
std::string journalFailureText(const std::string& reason);

}  // namespace tarvo

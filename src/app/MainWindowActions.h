#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "app/AcquisitionCycle.h"
#include "app/MainWindowState.h"
#include "app/journal/JournalFile.h"
#include "app/journal/JournalRestore.h"
#include "app/journal/ReadingJournal.h"
#include "base/MessageBoxes.h"
#include "files/FileChooser.h"
#include "files/OutputFile.h"
#include "files/Printing.h"

namespace tarvo {

// Runs a function once the event being handled is done with.
using Later = std::function<void(std::function<void()>)>;

// The platform's parts behind Save, Print and the journal.
struct MainWindowOutputs {
    MessageBoxes& messages;
    FileChooser& chooser;
    FileCreator& files;
    PrintDialog& printDialog;
    JournalFiles& journalFiles;
    std::filesystem::path journal;  // empty: the table is kept nowhere but in the window
    Later later;
};

// What the main window's Save and Print buttons and its Excel dialog do
// beyond the window, and the journal that keeps its table on disk: one set of
// rules for every front-end, each handing in its own platform's parts.
class MainWindowActions {
  public:
    MainWindowActions(MainWindowState& state, AcquisitionCycle& cycle, MainWindowOutputs outputs);

    // Once the window is shown: offers the readings the last session did not
    // save, then keeps this session's table in the journal.
    void beginJournal();

    void save();
    void print();
    // The table as a CGATS file for colour tools; the main window's files and
    // settings stay as they are.
    void exportCgats();
    // While the Excel dialog is open, each new reading is placed in its sheet.
    void excelOpened(AcquisitionCycle::Placement placement);
    void excelClosed();

  private:
    void keepJournal(const std::filesystem::path& path);

    MainWindowState& state_;
    AcquisitionCycle& cycle_;
    MainWindowOutputs outputs_;
    std::unique_ptr<JournalClaim> journalClaim_;
    LastSession lastSession_;  // read once, when the journal's name was chosen
    bool everyJournalHeld_ = false;
    std::unique_ptr<ReadingJournal> journal_;
};

}  // namespace tarvo

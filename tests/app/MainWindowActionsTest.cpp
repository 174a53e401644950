#include "app/MainWindowActions.h"

#include <gtest/gtest.h>

#include <fstream>

#include <map>

#include "AnsweringFileChooser.h"
#include "CycleRig.h"
#include "JournalFakes.h"
#include "app/journal/JournalRestore.h"

namespace tarvo {
namespace {

// Saved files kept in memory; a path listed in refused cannot be created.
class MemoryFiles final : public FileCreator {
  public:
    std::unique_ptr<OutputFile> create(const std::string& path) override {
        if (path == refused)
            return nullptr;
        return std::make_unique<MemoryFile>(written[path]);
    }
    std::map<std::string, std::string> written;
    std::string refused;

  private:
    struct MemoryFile final : OutputFile {
        explicit MemoryFile(std::string& text) : text(text) { text.clear(); }
        bool write(std::string_view bytes) override { return text.append(bytes), true; }
        bool close() override { return true; }
        std::string& text;
    };
};

class NoPrinter final : public PrintDialog {
  public:
    std::unique_ptr<PagePrinter> choosePrinter() override { return nullptr; }
};

// The rules every front-end's main window shares, with the platform's parts
// faked and "later" kept in a queue the test runs when the event is over.
class MainWindowActionsTest : public ::testing::Test, protected test::CycleRig {
  protected:
    MainWindowActionsTest() { window.initialise(); }

    MainWindowActions& wire(std::filesystem::path journalPath) {
        actions = std::make_unique<MainWindowActions>(
            window, cycle,
            MainWindowOutputs{boxes, chooser, files, printer, journalFiles, std::move(journalPath),
                              [this](std::function<void()> later) { queued.push_back(later); }});
        actions->beginJournal();
        cycle.startStopClicked();
        return *actions;
    }

    void reading(int number) {
        link.queueReading(ReadingKind::Colour, {number, 1000 + number, 200, 300, 400, 500});
        cycle.tick();
    }

    void runQueued() {
        for (auto& later : std::exchange(queued, {}))
            later();
    }

    LastSession::State journalState() { return readLastSession(journalFiles, journal).state; }

    std::filesystem::path journal = dir / "journal";
    test::AnsweringFileChooser chooser;
    MemoryFiles files;
    NoPrinter printer;
    test::FillingJournalFiles journalFiles;
    std::vector<std::function<void()>> queued;
    std::unique_ptr<MainWindowActions> actions;
};

TEST_F(MainWindowActionsTest, EveryReadingIsKeptAndOnlyACompletedSaveCountsAsSaved) {
    MainWindowActions& wired = wire(journal);
    reading(1);
    reading(2);
    EXPECT_EQ(journalState(), LastSession::State::Unsaved);
    EXPECT_EQ(readLastSession(journalFiles, journal).table.rows.size(), 2u);

    wired.save();  // the Save As dialog cancelled
    EXPECT_EQ(journalState(), LastSession::State::Unsaved);
    chooser.answerNext((dir / "refused.den").string());
    files.refused = (dir / "refused.den").string();
    wired.save();
    EXPECT_EQ(journalState(), LastSession::State::Unsaved) << "a file not created is no save";

    chooser.answerNext((dir / "lot.den").string());
    wired.save();
    EXPECT_NE(files.written[(dir / "lot.den").string()].find("1.00"), std::string::npos);
    EXPECT_EQ(journalState(), LastSession::State::Nothing);
    reading(3);
    EXPECT_EQ(journalState(), LastSession::State::Unsaved) << "a reading after the save";
}

TEST_F(MainWindowActionsTest, ATarvoAlreadyRunningKeepsItsJournalWhileASecondMeasures) {
    { std::ofstream(journal, std::ios::binary) << "the first tarvo's records"; }
    const auto firstTarvo = journalFiles.claim(journal);
    wire(journal);
    reading(1);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(journalState(), LastSession::State::Unreadable) << "still the first's bytes";
    EXPECT_EQ(readLastSession(journalFiles, dir / "journal.2").table.rows.size(), 1u);
}

TEST_F(MainWindowActionsTest, JournalFailureIsToldOnceAndOnlyAfterTheChangeIsDone) {
    journalFiles.refuseCreate = "Read-only file system";
    wire(journal);
    reading(1);
    EXPECT_TRUE(boxes.texts().empty()) << "no box inside the change";
    runQueued();
    reading(2);
    runQueued();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{journalFailureText("Read-only file system")});
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_EQ(window.table().rowCount(), 2) << "measuring goes on";
}

TEST_F(MainWindowActionsTest, ReadingsGoToTheSheetOnlyWhileTheExcelDialogIsOpen) {
    MainWindowActions& wired = wire({});
    std::vector<int> placed;
    wired.excelOpened([&](const ReadingTable&, int row) { placed.push_back(row); });
    reading(1);
    wired.excelClosed();
    reading(2);
    EXPECT_EQ(placed, std::vector<int>{0});
    EXPECT_EQ(journalState(), LastSession::State::Nothing) << "no journal was asked for";
}

// The file dialog lets the timer run: a reading on the next day renews the
// date text, and an export that only viewed it wrote part of the new one.
TEST_F(MainWindowActionsTest, CgatsExportKeepsTheDateItStartedWithWhileTheDialogIsOpen) {
    MainWindowActions& wired = wire({});
    clock.time = {2026, 12, 9, 23, 59, 58};
    reading(1);
    const std::string path = (dir / "lot.txt").string();
    chooser.answerNext(path);
    chooser.duringNext([this] {
        clock.time = {2026, 12, 10, 0, 0, 1};
        reading(2);
    });
    wired.exportCgats();
    EXPECT_EQ(window.dateText(), "10.12.2026");
    const std::string& written = files.written[path];
    EXPECT_NE(written.find("\r\nDESCRIPTOR \"9.12.2026 "), std::string::npos) << written;
    EXPECT_NE(written.find("\r\nNUMBER_OF_SETS 2\r\n"), std::string::npos) << "taken while asking";
}

TEST_F(MainWindowActionsTest, CgatsNamesTheInstrumentOnTheMainWindowsPort) {
    MainWindowActions& wired = wire({});
    reading(1);
    const std::string path = (dir / "lot.txt").string();
    chooser.answerNext(path);
    wired.exportCgats();
    EXPECT_NE(files.written[path].find("\r\nINSTRUMENTATION \"densitometer\"\r\n"),
              std::string::npos);
    window.ini().write("Instruments", "COM1", "xrite-400,9600");
    chooser.answerNext(path);
    wired.exportCgats();
    EXPECT_NE(files.written[path].find("\r\nINSTRUMENTATION \"X-Rite 400 series\"\r\n"),
              std::string::npos)
        << files.written[path];
}

}  // namespace
}  // namespace tarvo

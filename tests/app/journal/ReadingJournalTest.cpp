#include "app/journal/ReadingJournal.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CycleRig.h"
#include "JournalFakes.h"
#include "JournalFilesSuite.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "app/AcquisitionCycle.h"
#include "app/journal/JournalRecord.h"
#include "app/journal/JournalReplay.h"

namespace tarvo {
namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using test::JournalFilesSuite;
INSTANTIATE_TEST_SUITE_P(Fake, JournalFilesSuite,
                         ::testing::Values(test::journalFilesOf<test::FillingJournalFiles>(
                             "FillingJournalFiles", false)));

TEST(JournalRecord, FieldsWithTabsBackslashesAndLineBreaksReadBackAsWritten) {
    const JournalRecord record{"cell", {"0", "9", "a\tb\\c\nd\re\\t", "", " blank "}};
    const std::string line = encodeRecord(record);
    ASSERT_EQ(line.find('\n'), line.size() - 1) << "a record must stay on its line";
    const auto read = decodeRecord(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, record.kind);
    EXPECT_EQ(read->fields, record.fields);
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u) << "not the CRC-32 others can check";
}

TEST(JournalRecord, RecordCutShortOrWithOneByteChangedIsRejected) {
    const std::string line = encodeRecord({"add", {"1", "  11", "1.50"}});
    const std::string_view whole = std::string_view(line).substr(0, line.size() - 1);
    ASSERT_TRUE(decodeRecord(whole));
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(decodeRecord(whole.substr(0, cut))) << "cut at " << cut;
    std::string changed(whole);
    changed[changed.size() - 2] = '6';
    EXPECT_FALSE(decodeRecord(changed));
    EXPECT_FALSE(decodeRecord("")) << "an empty line";
    EXPECT_FALSE(decodeRecord("x")) << "no length";
}

// The cycle and the operator's buttons as the program wires them, with the
// journal on a scratch folder whose disk fills on demand.
class ReadingJournalTest : public ::testing::Test, protected test::CycleRig {
  protected:
    ReadingJournalTest() {
        window.initialise();
        journal.setFailureListener([this](const std::string& text) { failures.push_back(text); });
        journal.begin();
        cycle.startStopClicked();
    }

    void reading(int number, ReadingKind kind = ReadingKind::Colour) {
        link.queueReading(kind, {number, 1000 + number, 200, 300, 400, 500});
        cycle.tick();
    }

    JournalTable replayed() const {
        auto table = replayJournal(contents(path));
        EXPECT_TRUE(table) << "the journal must stay readable";
        return table.value_or(JournalTable{});
    }

    // The table the journal describes is the one the window shows.
    void expectReplayGivesTheLiveTable(const std::string& step) {
        const JournalTable kept = replayed();
        const ReadingTable& live = window.table();
        EXPECT_EQ(kept.layout, live.layout()) << step;
        ASSERT_EQ(static_cast<int>(kept.rows.size()), live.rowCount()) << step;
        for (int row = 0; row < live.rowCount(); ++row) {
            for (int column = 0; column < kMaxColumns; ++column)
                EXPECT_EQ(kept.rows[row][column], live.cell(row, column))
                    << step << ": row " << row << " column " << column;
        }
    }

    void select(int row) { window.table().setSelected(row, true); }

    std::filesystem::path path = dir / "state" / "tarvo" / "journal";
    test::FillingJournalFiles files;
    ReadingJournal journal{window.table(), files, path};
    std::vector<std::string> failures;
};

TEST_F(ReadingJournalTest, NewReadingIsOneFlushedRecordWithEveryCellAndItsComment) {
    const int before = files.appends;
    window.commentEdited("patch\tA");
    reading(11);
    EXPECT_EQ(files.appends, before + 1) << "one record, one flush per reading";
    const JournalTable kept = replayed();
    ASSERT_EQ(kept.rows.size(), 1u);
    EXPECT_EQ(kept.rows[0][1], "  11");
    EXPECT_EQ(kept.rows[0][9], "patch\tA");
    EXPECT_TRUE(kept.unsaved);
    expectReplayGivesTheLiveTable("one reading");
}

TEST_F(ReadingJournalTest, ChangeDeleteCommentClearAndDensitySwitchReplayAsTheyWereLive) {
    for (int n = 1; n <= 5; ++n)
        reading(n);
    select(3);
    window.changeClicked();
    reading(6);
    expectReplayGivesTheLiveTable("Change");
    select(1);
    window.deleteClicked();
    expectReplayGivesTheLiveTable("Delete");
    window.commentEdited("top row");
    window.commentClicked();
    expectReplayGivesTheLiveTable("Comment");
    reading(7, ReadingKind::Density);
    reading(8, ReadingKind::Density);
    expectReplayGivesTheLiveTable("density switch");
    window.clearClicked();
    reading(9, ReadingKind::Density);
    expectReplayGivesTheLiveTable("Clear");
    reading(10, ReadingKind::Colour);
    EXPECT_EQ(replayed().layout, ColumnLayout::Colour) << "the rebuilt colour headings";
    expectReplayGivesTheLiveTable("back to colour");
    EXPECT_TRUE(failures.empty());
}

TEST_F(ReadingJournalTest, SaveMarksTheTableSavedUntilTheNextChange) {
    reading(1);
    journal.saved();
    EXPECT_FALSE(replayed().unsaved);
    window.commentEdited("late");
    window.commentClicked();
    EXPECT_TRUE(replayed().unsaved) << "a change after the save";
}

TEST_F(ReadingJournalTest, TruncatedInTheMiddleOfItsLastRecordGivesBackEveryEarlierRow) {
    for (int n = 1; n <= 3; ++n)
        reading(n);
    const std::string whole = contents(path);
    reading(4);
    const std::string withFourth = contents(path);
    const std::size_t lastLength = withFourth.size() - whole.size();
    // Cut anywhere before its last byte of text; the line break alone is not needed.
    for (std::size_t cut : {std::size_t{1}, lastLength / 2, lastLength - 2}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << withFourth.substr(0, whole.size() + cut);
        const JournalTable kept = replayed();
        ASSERT_EQ(kept.rows.size(), 3u) << "cut " << cut << " bytes into the last record";
        EXPECT_EQ(kept.rows[0][1], "  3");
        EXPECT_EQ(kept.rows[2][1], "  1");
    }
}

TEST_F(ReadingJournalTest, FullDiskTellsOnceLosesNoRowAndCatchesUpWhenThereIsSpace) {
    reading(1);
    files.spaceLeft = 20;  // the next record is torn
    for (int n = 2; n <= 4; ++n)
        reading(n);
    window.clearClicked();
    for (int n = 5; n <= 7; ++n)
        reading(n);
    ASSERT_EQ(failures.size(), 1u) << "one message per session";
    EXPECT_EQ(failures[0], "The readings cannot be kept on disk: No space left on device");
    EXPECT_EQ(window.table().rowCount(), 3) << "the window keeps every row";
    EXPECT_EQ(window.table().cell(0, 1), "  7");

    files.spaceLeft.reset();
    reading(8);
    expectReplayGivesTheLiveTable("after space was freed");
    EXPECT_EQ(failures.size(), 1u);
}

TEST(ReadingJournalFolder, UnwritableFolderIsToldOnceAndTriedAgainAtEachReading) {
    test::TempDir dir;
    ReadingTable table;
    test::FillingJournalFiles files;
    files.refuseCreate = "Read-only file system";
    ReadingJournal journal(table, files, dir / "journal");
    std::vector<std::string> failures;
    journal.setFailureListener([&](const std::string& text) { failures.push_back(text); });
    journal.begin();
    table.writeReading({});
    EXPECT_EQ(files.creates, 2);
    EXPECT_EQ(failures, std::vector<std::string>{
                            "The readings cannot be kept on disk: Read-only file system"});

    files.refuseCreate.clear();
    table.writeReading({});
    const auto kept = replayJournal(contents(dir / "journal"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->rows.size(), 2u) << "the file, once made, holds every row";
    EXPECT_TRUE(kept->unsaved);
}

}  // namespace
}  // namespace tarvo

#include "app/journal/JournalRestore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "AcquisitionFakes.h"
#include "JournalFakes.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"

namespace tarvo {
namespace {

using Strings = std::vector<std::string>;

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Strings folderNames(const std::filesystem::path& folder) {
    Strings names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Two sessions of the program on one journal: the first fills its table and
// ends without a word (a crash), the second starts on the same file.
class JournalRestoreTest : public ::testing::Test {
  protected:
    struct Session {
        Session(JournalRestoreTest& test, const std::filesystem::path& path)
            : table(900), journal(table, test.files, path) {}
        ReadingTable table;
        ReadingJournal journal;
    };

    std::unique_ptr<Session> startSession() { return startSession(path); }
    std::unique_ptr<Session> startSession(const std::filesystem::path& journal) {
        auto session = std::make_unique<Session>(*this, journal);
        beginJournalSession(session->journal, session->table, 900, boxes, clock);
        return session;
    }

    static void addReading(Session& session, const std::string& device) {
        session.table.writeReading({{1, device}, {2, "1.23"}});
    }

    // A first session that ends with these readings in its table.
    void crashAfter(const Strings& devices, ReadingKind kind = ReadingKind::Colour) {
        auto first = startSession();
        if (kind == ReadingKind::Density)
            first->table.switchMode(kind, 900);
        for (const auto& device : devices)
            addReading(*first, device);
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "journal";
    test::FillingJournalFiles files;
    test::RecordingMessageBoxes boxes;
    test::ManualClock clock;
};

TEST_F(JournalRestoreTest, YesPutsBackLayoutHeadingsRowsAndTheNextNumber) {
    crashAfter({"  11", "  12", "  13"}, ReadingKind::Density);
    boxes.answerNext(MessageAnswer::Yes);
    auto second = startSession();

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Readings not saved in the last session: 3. Restore them?");
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::YesNo);
    const ReadingTable& table = second->table;
    EXPECT_EQ(table.mode(), ReadingKind::Density);
    EXPECT_EQ(table.columns()[2].heading, "Density");
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.cell(0, 0), "3");
    EXPECT_EQ(table.cell(0, 1), "  13");
    EXPECT_EQ(table.cell(2, 1), "  11");
    addReading(*second, "  14");
    EXPECT_EQ(second->table.cell(0, 0), "4") << "the row counter follows the restored rows";

    second.reset();
    boxes.answerNext(MessageAnswer::Yes);
    auto third = startSession();
    EXPECT_EQ(third->table.rowCount(), 4) << "a restored table counts as unsaved";
}

TEST_F(JournalRestoreTest, RestoredColourTableKeepsTheHeadingsOfTheWindowsCreation) {
    crashAfter({"  1"});
    boxes.answerNext(MessageAnswer::Yes);
    auto second = startSession();
    EXPECT_EQ(second->table.layout(), ColumnLayout::ColourAtCreation);
    EXPECT_EQ(second->table.columns()[2].heading, "3:   Cyan");
}

TEST_F(JournalRestoreTest, DeclinedJournalIsKeptAsideAndNotOfferedAgain) {
    crashAfter({"  11", "  12"});
    const std::string old = contents(path);
    clock.time = {2026, 12, 7, 9, 4, 3};
    boxes.answerNext(MessageAnswer::No);
    auto second = startSession();
    EXPECT_EQ(second->table.rowCount(), 0);
    EXPECT_EQ(contents(dir / "journal-20261207-090403"), old) << "kept as it was";
    second.reset();

    boxes.shown.clear();
    auto third = startSession();
    EXPECT_TRUE(boxes.shown.empty()) << "a declined table is offered once";
    EXPECT_EQ(folderNames(dir.path()), (Strings{"journal", "journal-20261207-090403"}));
}

TEST_F(JournalRestoreTest, ASecondRunningTarvoNeverTouchesTheFirstsJournal) {
    ClaimedJournal firstClaim = claimJournal(files, path);
    ASSERT_EQ(firstClaim.path, path);
    auto first = startSession(firstClaim.path);
    addReading(*first, "  11");
    const std::string running = contents(path);

    ClaimedJournal secondClaim = claimJournal(files, path);
    ASSERT_EQ(secondClaim.path.filename(), "journal.2");
    auto second = startSession(secondClaim.path);
    EXPECT_TRUE(boxes.shown.empty()) << "the first's rows are not offered to the second";
    addReading(*second, "  21");
    EXPECT_EQ(contents(path), running);

    // The second ends without saving, the first after a save: the next start
    // offers the second's reading.
    second.reset();
    secondClaim.claim.reset();
    first->journal.saved();
    first.reset();
    firstClaim.claim.reset();
    ClaimedJournal next = claimJournal(files, path);
    EXPECT_EQ(next.path.filename(), "journal.2");
    boxes.answerNext(MessageAnswer::Yes);
    auto third = startSession(next.path);
    ASSERT_EQ(third->table.rowCount(), 1);
    EXPECT_EQ(third->table.cell(0, 1), "  21");
}

TEST_F(JournalRestoreTest, OnlyNamesInUseAreClaimedBeyondTheFirstFreeOne) {
    claimJournal(files, path);
    EXPECT_EQ(files.claimsAsked, std::vector<std::filesystem::path>{path});

    files.claimsAsked.clear();
    std::ofstream(path, std::ios::binary).flush();
    std::ofstream(dir / "journal.4", std::ios::binary).flush();
    EXPECT_EQ(claimJournal(files, path).path, path);
    EXPECT_EQ(files.claimsAsked, (std::vector<std::filesystem::path>{path, dir / "journal.4"}))
        << "a journal a second session left is looked at, unused names are not";
}

TEST_F(JournalRestoreTest, EveryNameHeldLeavesNoJournal) {
    std::vector<ClaimedJournal> held;
    for (int i = 0; i < 9; ++i)
        held.push_back(claimJournal(files, path));
    EXPECT_EQ(held.back().path.filename(), "journal.9");
    EXPECT_TRUE(claimJournal(files, path).path.empty());
}

TEST_F(JournalRestoreTest, SecondAsideInTheSameSecondDoesNotOverwriteTheFirst) {
    std::string reason;
    for (const char* text : {"first", "second"}) {
        std::ofstream(path, std::ios::binary) << text;
        ASSERT_TRUE(keepAside(files, path, clock.now(), reason)) << reason;
    }
    EXPECT_EQ(contents(dir / "journal-20261206-140509"), "first");
    EXPECT_EQ(contents(dir / "journal-20261206-140509-2"), "second");
}

TEST_F(JournalRestoreTest, SavedOrEmptyTableIsNotOffered) {
    {
        auto first = startSession();
        addReading(*first, "  11");
        first->journal.saved();
    }
    startSession().reset();
    {
        auto cleared = startSession();
        addReading(*cleared, "  12");
        cleared->table.clear();
    }
    startSession();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(folderNames(dir.path()), Strings{"journal"}) << "nothing kept aside";
}

TEST_F(JournalRestoreTest, UnreadableJournalIsKeptAsideWithoutAWordAndTheTableStartsEmpty) {
    std::ofstream(path, std::ios::binary) << "not a journal\n";
    auto second = startSession();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(second->table.rowCount(), 0);
    EXPECT_EQ(contents(dir / "journal-20261206-140509"), "not a journal\n");
    EXPECT_TRUE(replayJournal(contents(path))) << "this session starts a journal of its own";
}

}  // namespace
}  // namespace tarvo

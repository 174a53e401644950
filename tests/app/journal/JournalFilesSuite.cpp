#include "JournalFilesSuite.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "app/journal/JournalRestore.h"

namespace tarvo::test {

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A reason shown inside a sentence: text, without the line break some systems end it with.
void expectReasonText(const std::string& reason) {
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << '"' << reason << '"';
}

}  // namespace

std::string JournalFilesSuite::readBack(const std::filesystem::path& file) {
    const JournalText text = files->read(file);
    EXPECT_EQ(text.state, JournalText::State::Read) << file;
    return text.bytes;
}

TEST_P(JournalFilesSuite, CreateMakesTheFoldersAppendsInOrderAndStartsAnOldFileAfresh) {
    std::string reason;
    auto file = files->create(path, reason);
    ASSERT_TRUE(file) << reason;
    EXPECT_EQ(file->append("first\n"), "");
    EXPECT_EQ(file->append("second\tline\r\n"), "");
    EXPECT_EQ(readBack(path), "first\nsecond\tline\r\n") << "bytes as given, no line-end changes";
    file.reset();

    file = files->create(path, reason);
    ASSERT_TRUE(file) << reason;
    EXPECT_EQ(readBack(path), "") << "a new session's journal starts empty";
}

TEST_P(JournalFilesSuite, JournalBeingWrittenCanBeReadByAnotherReader) {
    std::string reason;
    auto file = files->create(path, reason);
    ASSERT_TRUE(file) << reason;
    ASSERT_EQ(file->append("kept\n"), "");
    EXPECT_EQ(readBack(path), "kept\n") << "an operator may copy the journal while measuring";
    EXPECT_EQ(file->append("more\n"), "") << "and the program goes on writing";
    EXPECT_EQ(readBack(path), "kept\nmore\n");
}

TEST_P(JournalFilesSuite, NoFileIsMissingButAFolderInItsPlaceIsUnreadable) {
    EXPECT_EQ(files->read(dir / "journal").state, JournalText::State::Missing);
    EXPECT_EQ(files->read(dir / "no-folder" / "journal").state, JournalText::State::Missing);
    std::filesystem::create_directories(dir / "journal");
    EXPECT_EQ(files->read(dir / "journal").state, JournalText::State::Unreadable);
}

TEST_P(JournalFilesSuite, CreateWhereAFileStandsForTheFolderGivesTheSystemsReason) {
    writeFile(dir / "state", "not a folder");
    std::string reason;
    EXPECT_EQ(files->create(dir / "state" / "journal", reason), nullptr);
    expectReasonText(reason);
}

TEST_P(JournalFilesSuite, RenameKeepsTheBytesAndNeverReplacesAnotherFile) {
    const auto journal = dir / "journal", aside = dir / "journal-20261207-090403";
    writeFile(journal, "this session");
    writeFile(aside, "an older one");
    std::string reason;
    EXPECT_EQ(files->rename(journal, aside, reason), Renamed::NameTaken);
    EXPECT_EQ(readBack(aside), "an older one");
    EXPECT_EQ(readBack(journal), "this session");

    const auto second = dir / "journal-20261207-090403-2";
    EXPECT_EQ(files->rename(journal, second, reason), Renamed::Done) << reason;
    EXPECT_EQ(readBack(second), "this session");
    EXPECT_EQ(files->read(journal).state, JournalText::State::Missing);

    EXPECT_EQ(files->rename(journal, dir / "journal-3", reason), Renamed::Failed);
    expectReasonText(reason);
}

TEST_P(JournalFilesSuite, AClaimHoldsItsNameUntilItsHolderLetsGo) {
    auto held = files->claim(path);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(files->claim(path), nullptr) << "held by another session";
    EXPECT_NE(files->claim(dir / "state" / "tarvo" / "journal.2"), nullptr);
    std::string reason;
    ASSERT_NE(files->create(path, reason), nullptr) << "the holder still writes its journal";
    held.reset();
    EXPECT_NE(files->claim(path), nullptr);
}

TEST_P(JournalFilesSuite, ANameIsInUseWhileHeldOrWhileItsJournalStands) {
    EXPECT_FALSE(files->inUse(path));
    auto held = files->claim(path);
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(files->inUse(path)) << "held before its journal is made";
    held.reset();
    EXPECT_FALSE(files->inUse(path)) << "a lock file left behind";
    std::string reason;
    ASSERT_NE(files->create(path, reason), nullptr) << reason;
    EXPECT_TRUE(files->inUse(path));
}

// A session that died left its lock file: the next one takes the name over
// and the file goes when it lets go.
TEST_P(JournalFilesSuite, LockFileOfADeadSessionIsTakenOverAndRemoved) {
    if (!GetParam().lockFiles)
        GTEST_SKIP() << "no lock files";
    std::filesystem::create_directories(path.parent_path());
    writeFile(journalLockName(path), "");
    auto claim = files->claim(path);
    ASSERT_NE(claim, nullptr);
    EXPECT_EQ(files->claim(path), nullptr);
    claim.reset();
    EXPECT_FALSE(std::filesystem::exists(journalLockName(path)));
}

// One start used to leave journal.lock and journal.2.lock to journal.9.lock.
TEST_P(JournalFilesSuite, StartsOneAfterAnotherLeaveTheJournalAlone) {
    for (int start = 0; start < 2; ++start) {
        ClaimedJournal claimed = claimJournal(*files, path);
        ASSERT_EQ(claimed.path, path);
        std::string reason;
        ASSERT_NE(files->create(path, reason), nullptr) << reason;
        auto names = namesIn(path.parent_path());
        std::erase(names, "journal.lock");
        EXPECT_EQ(names, std::vector<std::string>{"journal"}) << "locks of names not needed";
    }
    EXPECT_EQ(namesIn(path.parent_path()), std::vector<std::string>{"journal"});
}

}  // namespace tarvo::test

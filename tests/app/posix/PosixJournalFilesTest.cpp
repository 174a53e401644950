#include "app/posix/PosixJournalFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <optional>
#include <string>

#include "JournalFilesSuite.h"

namespace tarvo {
namespace {

using test::JournalFilesSuite;
INSTANTIATE_TEST_SUITE_P(
    Posix, JournalFilesSuite,
    ::testing::Values(test::journalFilesOf<PosixJournalFiles>("PosixJournalFiles")));

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// A session that died left its lock file: the next one takes the name over
// and removes the file when it is done.
TEST(PosixJournalClaim, LockFileOfADeadSessionIsTakenOverAndRemoved) {
    test::TempDir dir;
    const auto journal = dir / "journal";
    std::ofstream(journalLockName(journal)).flush();
    PosixJournalFiles files;
    auto claim = files.claim(journal);
    ASSERT_NE(claim, nullptr);
    EXPECT_EQ(files.claim(journal), nullptr);
    claim.reset();
    EXPECT_FALSE(std::filesystem::exists(journalLockName(journal)));
}

TEST(PosixJournalPath, StateFolderWhenAbsoluteElseTheHomeFolders) {
    ScopedVariable home("HOME", "/home/operator");
    {
        ScopedVariable state("XDG_STATE_HOME", "/var/state");
        EXPECT_EQ(journalFilePath(), "/var/state/tarvo/journal");
    }
    {
        // The base directory rules ignore a relative path.
        ScopedVariable state("XDG_STATE_HOME", "state");
        EXPECT_EQ(journalFilePath(), "/home/operator/.local/state/tarvo/journal");
    }
    ScopedVariable state("XDG_STATE_HOME", nullptr);
    EXPECT_EQ(journalFilePath(), "/home/operator/.local/state/tarvo/journal");
}

}  // namespace
}  // namespace tarvo

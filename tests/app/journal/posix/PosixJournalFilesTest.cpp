#include "app/journal/posix/PosixJournalFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>

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

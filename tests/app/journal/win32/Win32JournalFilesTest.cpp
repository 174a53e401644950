#include "app/journal/win32/Win32JournalFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "JournalFilesSuite.h"
#include "base/win32/AnsiPath.h"
#include "base/win32/SystemErrorText.h"

namespace tarvo {
namespace {

using test::JournalFilesSuite;
INSTANTIATE_TEST_SUITE_P(
    Win32, JournalFilesSuite,
    ::testing::Values(test::journalFilesOf<Win32JournalFiles>("Win32JournalFiles")));

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(Win32JournalPath, JournalIsInTheMadeTarvoFolderOfTheLocalApplicationData) {
    const std::filesystem::path journal = journalFilePath();
    EXPECT_EQ(journal.filename(), "journal");
    EXPECT_EQ(journal.parent_path().filename(), "tarvo");
    EXPECT_TRUE(std::filesystem::is_directory(journal.parent_path()));
    char local[MAX_PATH + 1] = {};
    ASSERT_GT(GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local), 0u);
    EXPECT_EQ(lowerCase(ansiName(journal.parent_path().parent_path())), lowerCase(local))
        << "not the roaming folder, where the settings are";
}

TEST(Win32JournalNames, FolderWithAnAccentedNameIsTheOneTheSystemShowsByThatName) {
    test::TempDir dir;
    // A user's profile as "Jörg": the ANSI functions must be given the name
    // in their code page, not in the library's UTF-8.
    const std::filesystem::path folder = dir / L"J\u00F6rg";
    EXPECT_EQ(pathFromAnsi("J\xF6rg"), std::filesystem::path(L"J\u00F6rg"));
    Win32JournalFiles files;
    std::string reason;
    auto file = files.create(folder / "tarvo" / "journal", reason);
    ASSERT_TRUE(file) << reason;
    ASSERT_EQ(file->append("kept\n"), "");
    file.reset();
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "tarvo" / "journal"));
    EXPECT_EQ(files.rename(folder / "tarvo" / "journal", folder / "tarvo" / "journal-1", reason),
              Renamed::Done)
        << reason;
    EXPECT_EQ(files.read(folder / "tarvo" / "journal-1").bytes, "kept\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "tarvo" / "journal-1"));
}

TEST(Win32JournalFailure, ReasonIsTheSystemsSentenceNotANumber) {
    const std::string full = systemErrorText(ERROR_DISK_FULL);
    EXPECT_NE(full.rfind("error ", 0), 0u) << full;
    EXPECT_EQ(full.find_first_of("\r\n"), std::string::npos) << full;
    EXPECT_EQ(systemErrorText(0x2FFFFFFF), "error 805306367") << "a number without a text";
}

}  // namespace
}  // namespace tarvo

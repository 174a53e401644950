// Settings and saving through the system's own private-profile and file
// functions (run under wine by scripts/test-windows).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "SettingsTest.h"
#include "TempDir.h"
#include "files/WholeFile.h"
#include "files/win32/ProfileIniFile.h"
#include "files/win32/Win32Files.h"

namespace tarvo {

INSTANTIATE_TEST_SUITE_P(PrivateProfile, SettingsTest,
                         ::testing::Values(SettingsBackend{
                             "ProfileIniFile",
                             [](const std::filesystem::path& path) -> std::unique_ptr<IniFile> {
                                 return std::make_unique<ProfileIniFile>(path);
                             }}),
                         settingsBackendName);

namespace {

TEST(ProfileSettings, ReadOnlyFileIsReadButNeverChanged) {
    test::TempDir dir;
    const auto path = dir / "Tarvo.ini";
    std::ofstream(path, std::ios::binary) << "[Generic]\r\nCOMMNO=2\r\n";
    const std::string file = path.string();
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ProfileIniFile ini{path};
    Settings s;
    EXPECT_EQ(s.load(ini), 0);
    EXPECT_EQ(s.comNumber, 2);
    EXPECT_FALSE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(wholeFile(path), "[Generic]\r\nCOMMNO=2\r\n");
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Files, CreatedFileIsEmptiedWrittenAndHeldAgainstOtherWriters) {
    test::TempDir dir;
    const std::string path = (dir / "out.txt").string();
    std::ofstream(path, std::ios::binary) << "an older and longer text";
    Win32FileCreator creator;
    auto file = creator.create(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(creator.create(path), nullptr) << "share mode 0 keeps a second writer out";
    EXPECT_TRUE(file->write("new\r\n"));
    EXPECT_TRUE(file->close());
    EXPECT_EQ(wholeFile(path), "new\r\n");
    EXPECT_EQ(creator.create((dir / "no-such-folder" / "x.txt").string()), nullptr);
}

TEST(ProfileSettings, SettingsUnderAnAccentedProfileNameAreKeptInTheFolderOfThatName) {
    test::TempDir dir;
    // %APPDATA% of a user "Jörg": the ANSI functions get the name in their code page.
    const std::filesystem::path folder = dir / L"J\u00F6rg" / "tarvo";
    std::filesystem::create_directories(folder);
    ProfileIniFile ini{folder / "Tarvo.ini"};
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "3");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "Tarvo.ini"));
    ASSERT_TRUE(replaceWholeFile(folder / "Other.ini", "[Generic]\r\n"));
    EXPECT_EQ(wholeFile(folder / "Other.ini"), "[Generic]\r\n");
}

TEST(Win32Files, FoldersComeFromTheProgramAndTheUsersProfile) {
    EXPECT_TRUE(std::filesystem::exists(programFolder() / "files_win32_tests.exe"));
    EXPECT_EQ(settingsFilePath().filename(), "Tarvo.ini");
    EXPECT_EQ(settingsFilePath().parent_path().filename(), "tarvo");
}

// Settings an earlier program kept where a bare "Tarvo.ini" goes start the
// file in %APPDATA%, once, untouched; the VirtualStore copy (what a 32-bit
// program under UAC saw) before the Windows folder's.
TEST(FormerSettings, FirstExistingFormerFileIsCopiedOnceAndNeverWrittenAgain) {
    test::TempDir dir;
    const std::filesystem::path file = dir / "AppData" / "tarvo" / "Tarvo.ini";
    const std::filesystem::path store = dir / "VirtualStore" / "Tarvo.ini";
    const std::filesystem::path windows = dir / "Windows" / "Tarvo.ini";
    EXPECT_FALSE(adoptFormerSettings(file, {store, windows}));
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_TRUE(replaceWholeFile(windows, "[Generic]\r\nCOMMNO=2\r\n"));
    ASSERT_TRUE(replaceWholeFile(store, "[Generic]\nCOMMNO=4\n; kept\n"));
    EXPECT_TRUE(adoptFormerSettings(file, {store, windows}));
    EXPECT_EQ(wholeFile(file), "[Generic]\nCOMMNO=4\n; kept\n");
    ProfileIniFile ini{file};
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "1"));
    ASSERT_TRUE(replaceWholeFile(store, "[Generic]\nCOMMNO=3\n"));
    EXPECT_FALSE(adoptFormerSettings(file, {store, windows}));
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "1");
    EXPECT_EQ(wholeFile(store), "[Generic]\nCOMMNO=3\n");
}

// The same through the prefix's own folders, as tarvo.exe finds them.
TEST(FormerSettings, WindowsFoldersTarvoIniAppearsInAppDataAtTheFirstStart) {
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(folder, sizeof folder), 0u);
    const std::filesystem::path windows = std::filesystem::path(folder) / "Tarvo.ini";
    const std::filesystem::path file =
        std::filesystem::path(std::getenv("APPDATA")) / "tarvo" / "Tarvo.ini";
    // Settings of earlier tests in this prefix wait aside meanwhile.
    const std::filesystem::path aside = file.string() + ".aside";
    std::error_code none;
    std::filesystem::rename(file, aside, none);
    ASSERT_FALSE(std::filesystem::exists(windows));
    ASSERT_TRUE(replaceWholeFile(windows, "[Generic]\r\nCOMMNO=3\r\n"));
    EXPECT_EQ(settingsFilePath(), file);
    EXPECT_EQ(wholeFile(file), "[Generic]\r\nCOMMNO=3\r\n");
    ASSERT_TRUE(replaceWholeFile(windows, "[Generic]\r\nCOMMNO=4\r\n"));
    settingsFilePath();
    EXPECT_EQ(wholeFile(file), "[Generic]\r\nCOMMNO=3\r\n");
    std::filesystem::remove(windows);
    std::filesystem::remove(file);
    std::filesystem::rename(aside, file, none);
}

}  // namespace
}  // namespace tarvo

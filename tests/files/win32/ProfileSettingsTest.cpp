// Settings and saving through the system's own private-profile and file
// functions (run under wine by scripts/test-windows).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "files/Settings.h"
#include "files/win32/ProfileIniFile.h"
#include "files/win32/Win32Files.h"

namespace tarvo {
namespace {

class ProfileSettings : public ::testing::Test {
  protected:
    std::string fileText() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    void put(const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    Settings loaded() {
        Settings settings;
        EXPECT_EQ(settings.load(ini), 0);
        return settings;
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "tarvo" / "Tarvo.ini";
    ProfileIniFile ini{path};
};

TEST_F(ProfileSettings, FreshSystemGetsTheSixKeysInOrderInANewFolder) {
    Settings s = loaded();
    EXPECT_EQ(fileText(),
              "[Generic]\r\nCOMMNO=1\r\nFILETYPE=5\r\nFILEPATH=C:\\tarvo\r\nINSTANTSAVE=0\r\n"
              "VERSION=M\r\nBEEP=1\r\n");
    EXPECT_EQ(s.comNumber, 1);
    EXPECT_EQ(s.fileType, 5);
    EXPECT_EQ(s.version, 'M');
}

TEST_F(ProfileSettings, LoadWritesBackTheTextReadAndKeepsOtherLines) {
    put("; kept\r\n[generic]\r\ncommno = 259\r\nBEEP=2\r\n\r\n[ExcelAuto]\r\nRowInit1=3\r\n");
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 3) << "259 keeps its low byte";
    EXPECT_EQ(s.beep, 2);
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "259");
    EXPECT_EQ(ini.value("ExcelAuto", "RowInit1"), "3");
    EXPECT_EQ(ini.value("Generic", "Missing"), std::nullopt);
    EXPECT_NE(fileText().find("; kept"), std::string::npos);

    s.beep = 0;
    EXPECT_EQ(s.writeKey(ini, SettingKey::Beep), 0);
    EXPECT_EQ(ini.value("Generic", "BEEP"), "0");
}

TEST_F(ProfileSettings, LongValuesAreCutTo79AndAnEmptyValueIsNotMissing) {
    put("[Generic]\r\nFILEPATH=" + std::string(300, 'p') + "\r\nVERSION=\r\n");
    Settings s = loaded();
    EXPECT_EQ(s.filePath, std::string(79, 'p'));
    EXPECT_EQ(s.version, '\0');
    EXPECT_EQ(ini.value("Generic", "VERSION"), "");
}

TEST_F(ProfileSettings, ReadOnlyFileIsReadButNeverChanged) {
    put("[Generic]\r\nCOMMNO=2\r\n");
    const std::string file = path.string();
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 2);
    EXPECT_FALSE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(fileText(), "[Generic]\r\nCOMMNO=2\r\n");
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
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_EQ(all.str(), "new\r\n");
    EXPECT_EQ(creator.create((dir / "no-such-folder" / "x.txt").string()), nullptr);
}

TEST(Win32Files, FoldersComeFromTheProgramAndTheUsersProfile) {
    EXPECT_TRUE(std::filesystem::exists(programFolder() / "files_win32_tests.exe"));
    EXPECT_EQ(settingsFilePath().filename(), "Tarvo.ini");
    EXPECT_EQ(settingsFilePath().parent_path().filename(), "tarvo");
}

}  // namespace
}  // namespace tarvo

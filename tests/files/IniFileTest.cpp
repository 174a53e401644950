#include "files/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "OrdinaryUser.h"
#include "TempDir.h"

namespace tarvo {
namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void put(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class IniFileTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::filesystem::path path = dir / "Tarvo.ini";
    IniFile ini{path};
};

TEST_F(IniFileTest, ReplacingAValueKeepsOtherSectionsCommentsAndLines) {
    put(path,
        "; written by hand\n[Generic]\nCOMMNO=2\nFILETYPE=5\n\n[ExcelAuto]\nRowInit1=4\n"
        "; tail comment\n");
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(slurp(path),
              "; written by hand\n[Generic]\nCOMMNO=3\nFILETYPE=5\n\n[ExcelAuto]\nRowInit1=4\n"
              "; tail comment\n");
}

TEST_F(IniFileTest, SectionsAndKeysAreFoundWhateverTheirCase) {
    put(path, "[generic]\ncommNo = 4 \n");
    EXPECT_EQ(ini.value("GENERIC", "COMMNO"), "4");
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "1"));
    EXPECT_EQ(slurp(path), "[generic]\ncommNo=1\n");
}

TEST_F(IniFileTest, NewKeyGoesIntoItsSectionBeforeTheBlankLine) {
    put(path, "[Generic]\nCOMMNO=1\n\n[ExcelAuto]\nStart1=1\n");
    ASSERT_TRUE(ini.write("Generic", "BEEP", "0"));
    ASSERT_TRUE(ini.write("ExcelAuto", "Length1", "6"));
    EXPECT_EQ(slurp(path), "[Generic]\nCOMMNO=1\nBEEP=0\n\n[ExcelAuto]\nStart1=1\nLength1=6\n");
}

TEST_F(IniFileTest, MissingFolderFileAndSectionAreCreatedWithCrlfLineEnds) {
    IniFile nested(dir / "a" / "b" / "Tarvo.ini");
    ASSERT_TRUE(nested.write("Generic", "COMMNO", "1"));
    EXPECT_EQ(slurp(nested.path()), "[Generic]\r\nCOMMNO=1\r\n");
    ASSERT_TRUE(nested.write("ExcelAuto", "Direction", "2"));
    EXPECT_EQ(slurp(nested.path()), "[Generic]\r\nCOMMNO=1\r\n\r\n[ExcelAuto]\r\nDirection=2\r\n");
}

TEST_F(IniFileTest, LfFileStaysLf) {
    put(path, "[Generic]\nCOMMNO=1\n");
    ASSERT_TRUE(ini.write("Generic", "BEEP", "0"));
    EXPECT_EQ(slurp(path), "[Generic]\nCOMMNO=1\nBEEP=0\n");
}

TEST_F(IniFileTest, CrlfFilesAreReadAndStayCrlf) {
    put(path, "[Generic]\r\nFILEPATH=C:\\data\\x.txt\r\n");
    EXPECT_EQ(ini.value("Generic", "FILEPATH"), "C:\\data\\x.txt");
    ASSERT_TRUE(ini.write("Generic", "BEEP", "1"));
    EXPECT_EQ(slurp(path), "[Generic]\r\nFILEPATH=C:\\data\\x.txt\r\nBEEP=1\r\n");
}

TEST_F(IniFileTest, MissingKeyGivesTheFallbackAndLongValuesAreCut) {
    put(path, "[Generic]\nFILEPATH=" + std::string(100, 'x') + "\nQUOTED=\"a b\"\n");
    EXPECT_EQ(ini.readString("Generic", "NOPE", "dflt", 80), "dflt");
    EXPECT_EQ(ini.readString("Generic", "FILEPATH", "", 80), std::string(79, 'x'));
    EXPECT_EQ(ini.value("Generic", "QUOTED"), "a b");
    EXPECT_EQ(ini.readInt("Generic", "NOPE", 7), 7);
    EXPECT_EQ(ini.readInt("Generic", "QUOTED", 7), 0);
}

TEST_F(IniFileTest, KeyOfAnotherSectionIsNotFound) {
    put(path, "[Other]\nCOMMNO=4\n[Generic]\n");
    EXPECT_EQ(ini.value("Generic", "COMMNO"), std::nullopt);
}

// The system refusing the write, rather than the read-only rule: a file that
// looks writable to its owner, in a folder of the same owner, written by
// another user. Only root can set that up.
TEST_F(IniFileTest, FileAndFolderOfAnotherUserReportFailureAndKeepTheOldFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can write as another user";
    put(path, "[Generic]\nCOMMNO=2\n");
    // Readable and searchable by everyone, so the check can run as nobody.
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(test::asOrdinaryUser([&] { return ini.write("Generic", "COMMNO", "3"); }));
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(slurp(path), "[Generic]\nCOMMNO=2\n");
}

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Also for root, whom the permissions themselves would let write.
TEST_F(IniFileTest, ReadOnlyFileIsNeverReplaced) {
    put(path, "[Generic]\nCOMMNO=2\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(slurp(path), "[Generic]\nCOMMNO=2\n");
    EXPECT_EQ(modeOf(path), 0444u);
}

TEST_F(IniFileTest, ReadOnlyFileInUnwritableFolderReportsFailureAndKeepsTheOldFile) {
    put(path, "[Generic]\nCOMMNO=2\n");
    ::chmod(path.c_str(), 0444);
    ::chmod(dir.path().c_str(), 0500);
    EXPECT_FALSE(ini.write("Generic", "COMMNO", "3"));
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(slurp(path), "[Generic]\nCOMMNO=2\n");
}

TEST_F(IniFileTest, WritableFileInUnwritableFolderIsWrittenInPlace) {
    put(path, "[Generic]\nCOMMNO=2\nFILEPATH=" + std::string(40, 'x') + "\n");
    ::chmod(dir.path().c_str(), 0500);
    EXPECT_TRUE(ini.write("Generic", "FILEPATH", "short"));
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(slurp(path), "[Generic]\nCOMMNO=2\nFILEPATH=short\n");
}

TEST_F(IniFileTest, WriteKeepsTheFilesMode) {
    put(path, "[Generic]\nCOMMNO=2\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(modeOf(path), 0640u);
}

TEST_F(IniFileTest, WriteKeepsTheFilesOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    put(path, "[Generic]\nCOMMNO=2\n");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "3"));
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST_F(IniFileTest, SymlinkedFileIsWrittenThroughToItsTarget) {
    std::filesystem::create_directory(dir / "real");
    put(dir / "real" / "Tarvo.ini", "[Generic]\nCOMMNO=2\n");
    std::filesystem::create_symlink("real/Tarvo.ini", path);
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(slurp(dir / "real" / "Tarvo.ini"), "[Generic]\nCOMMNO=3\n");
}

TEST_F(IniFileTest, HardLinkedFileIsChangedUnderEveryName) {
    put(path, "[Generic]\nCOMMNO=2\n");
    std::filesystem::create_hard_link(path, dir / "other.ini");
    ASSERT_TRUE(ini.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(slurp(dir / "other.ini"), "[Generic]\nCOMMNO=3\n");
}

TEST_F(IniFileTest, LineBreakInAValueIsRefusedAndPlantsNoKey) {
    put(path, "[Generic]\nFILEPATH=a\n");
    EXPECT_FALSE(ini.write("Generic", "FILEPATH", "b\nCOMMNO=9"));
    EXPECT_FALSE(ini.write("Generic", "FILEPATH", "b\rCOMMNO=9"));
    EXPECT_EQ(slurp(path), "[Generic]\nFILEPATH=a\n");
}

TEST_F(IniFileTest, FileInAFolderThatCannotBeMadeReportsFailure) {
    put(dir / "plainfile", "x");
    IniFile blocked(dir / "plainfile" / "Tarvo.ini");
    EXPECT_FALSE(blocked.write("Generic", "COMMNO", "3"));
    EXPECT_EQ(blocked.value("Generic", "COMMNO"), std::nullopt);
}

TEST(SettingsFilePath, FollowsXdgConfigHomeElseHome) {
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(settingsFilePath(), "/tmp/cfg/tarvo/Tarvo.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(settingsFilePath(), "/home/ann/.config/tarvo/Tarvo.ini");
}

}  // namespace
}  // namespace tarvo

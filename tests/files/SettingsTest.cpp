#include "files/Settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDir.h"

namespace tarvo {
namespace {

class SettingsTest : public ::testing::Test {
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
    IniFile ini{path};
};

TEST_F(SettingsTest, FreshSystemGetsTheSixKeysInOrderWithDefaults) {
    Settings s = loaded();
    EXPECT_EQ(fileText(),
              "[Generic]\r\nCOMMNO=1\r\nFILETYPE=5\r\nFILEPATH=C:\\tarvo\r\nINSTANTSAVE=0\r\n"
              "VERSION=M\r\nBEEP=1\r\n");
    EXPECT_EQ(s.comNumber, 1);
    EXPECT_EQ(s.fileType, 5);
    EXPECT_EQ(s.filePath, "C:\\tarvo");
    EXPECT_EQ(s.instantSave, 0);
    EXPECT_EQ(s.version, 'M');
    EXPECT_EQ(s.beep, 1);
}

TEST_F(SettingsTest, NumbersKeepTheirLowByteWhileTheFileKeepsTheText) {
    put("[Generic]\nCOMMNO=259\nFILETYPE=9\nBEEP=2\nINSTANTSAVE=1\n");
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 3);
    EXPECT_EQ(s.fileType, 9);
    EXPECT_EQ(s.beep, 2);
    EXPECT_EQ(s.instantSave, 1);
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "259");
    EXPECT_EQ(ini.value("Generic", "INSTANTSAVE"), "1");
}

TEST_F(SettingsTest, NonNumbersReadAsZeroAndAreWrittenBackAsRead) {
    put("[Generic]\nCOMMNO=seven\nFILETYPE= 3x\n");
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 0);
    EXPECT_EQ(s.fileType, 3);
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "seven");
}

TEST_F(SettingsTest, VersionCountsByItsFirstCharacter) {
    put("[Generic]\nVERSION=Mx\n");
    EXPECT_EQ(loaded().version, 'M');
    ini.write("Generic", "VERSION", "m");
    EXPECT_EQ(loaded().version, 'm');
    ini.write("Generic", "VERSION", "");
    EXPECT_EQ(loaded().version, '\0');
    EXPECT_EQ(ini.value("Generic", "VERSION"), "");
}

TEST_F(SettingsTest, LongValuesAreCutTo79AndTheCutTextIsWrittenBack) {
    put("[Generic]\nFILEPATH=/" + std::string(120, 'p') + "\n");
    Settings s = loaded();
    EXPECT_EQ(s.filePath.size(), 79u);
    EXPECT_EQ(ini.value("Generic", "FILEPATH")->size(), 79u);
}

TEST_F(SettingsTest, WriteKeyWritesTheOneByteFieldAsASignedNumber) {
    Settings s = loaded();
    s.beep = 0;
    s.writeKey(ini, SettingKey::Beep);
    s.comNumber = static_cast<std::int8_t>(255);
    s.writeKey(ini, SettingKey::ComNumber);
    s.filePath = "/home/ann/run.txt";
    s.writeKey(ini, SettingKey::FilePath);
    s.fileType = 3;
    s.writeKey(ini, SettingKey::FileType);
    EXPECT_EQ(fileText(),
              "[Generic]\r\nCOMMNO=-1\r\nFILETYPE=3\r\nFILEPATH=/home/ann/run.txt\r\n"
              "INSTANTSAVE=0\r\nVERSION=M\r\nBEEP=0\r\n");
}

TEST_F(SettingsTest, OtherSectionsSurviveTheLoad) {
    put("[ExcelAuto]\nRowInit1=3\n; keep me\n");
    loaded();
    EXPECT_EQ(ini.value("ExcelAuto", "RowInit1"), "3");
    EXPECT_NE(fileText().find("; keep me"), std::string::npos);
}

TEST_F(SettingsTest, UnwritableFileLeavesTheValuesInMemory) {
    IniFile blocked(dir / "notafolder" / "Tarvo.ini");
    std::ofstream(dir / "notafolder") << "x";
    Settings s;
    EXPECT_EQ(s.load(blocked), 0);
    EXPECT_EQ(s.comNumber, 1);
    EXPECT_EQ(s.version, 'M');
    s.beep = 0;
    EXPECT_EQ(s.writeKey(blocked, SettingKey::Beep), 0);
    EXPECT_EQ(s.beep, 0);
}

}  // namespace
}  // namespace tarvo

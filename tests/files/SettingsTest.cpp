#include "SettingsTest.h"

#include <fstream>

namespace tarvo {

namespace {

TEST_P(SettingsTest, FreshSystemGetsTheSixKeysInOrderWithDefaults) {
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

TEST_P(SettingsTest, NumbersKeepTheirLowByteWhileTheFileKeepsTheText) {
    put("[Generic]\nCOMMNO=259\nFILETYPE=9\nBEEP=2\nINSTANTSAVE=1\n");
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 3);
    EXPECT_EQ(s.fileType, 9);
    EXPECT_EQ(s.beep, 2);
    EXPECT_EQ(s.instantSave, 1);
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "259");
    EXPECT_EQ(ini.value("Generic", "INSTANTSAVE"), "1");
}

TEST_P(SettingsTest, NonNumbersReadAsZeroAndAreWrittenBackAsRead) {
    put("[Generic]\nCOMMNO=seven\nFILETYPE= 3x\n");
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 0);
    EXPECT_EQ(s.fileType, 3);
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "seven");
}

TEST_P(SettingsTest, VersionCountsByItsFirstCharacter) {
    put("[Generic]\nVERSION=Mx\n");
    EXPECT_EQ(loaded().version, 'M');
    ini.write("Generic", "VERSION", "m");
    EXPECT_EQ(loaded().version, 'm');
    ini.write("Generic", "VERSION", "");
    EXPECT_EQ(loaded().version, '\0');
    EXPECT_EQ(ini.value("Generic", "VERSION"), "");
}

TEST_P(SettingsTest, LongValuesAreCutTo79AndWrittenBackAndAnEmptyValueIsNotMissing) {
    put("[Generic]\r\nFILEPATH=" + std::string(300, 'p') + "\r\nVERSION=\r\n");
    Settings s = loaded();
    EXPECT_EQ(s.filePath, std::string(79, 'p'));
    EXPECT_EQ(ini.value("Generic", "FILEPATH"), std::string(79, 'p'));
    EXPECT_EQ(s.version, '\0');
    EXPECT_EQ(ini.value("Generic", "VERSION"), "");
}

TEST_P(SettingsTest, WriteKeyWritesTheOneByteFieldAsASignedNumber) {
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

TEST_P(SettingsTest, AnyCaseAndBlanksAreReadAndOtherLinesSurviveTheLoad) {
    put("; kept\r\n[generic]\r\ncommno = 259\r\nBEEP=2\r\n\r\n[ExcelAuto]\r\nRowInit1=3\r\n");
    Settings s = loaded();
    EXPECT_EQ(s.comNumber, 3);
    EXPECT_EQ(s.beep, 2);
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "259");
    EXPECT_EQ(ini.value("ExcelAuto", "RowInit1"), "3");
    EXPECT_EQ(ini.value("Generic", "Missing"), std::nullopt);
    EXPECT_NE(fileText().find("; kept"), std::string::npos);
    s.beep = 0;
    EXPECT_EQ(s.writeKey(ini, SettingKey::Beep), 0);
    EXPECT_EQ(ini.value("Generic", "BEEP"), "0");
}

TEST_P(SettingsTest, UnwritableFileLeavesTheValuesInMemory) {
    std::ofstream(dir / "notafolder") << "x";
    const std::unique_ptr<IniFile> file = open(dir / "notafolder" / "Tarvo.ini");
    IniFile& blocked = *file;
    Settings s;
    EXPECT_EQ(s.load(blocked), 0);
    EXPECT_EQ(s.comNumber, 1);
    EXPECT_EQ(s.version, 'M');
    s.beep = 0;
    EXPECT_EQ(s.writeKey(blocked, SettingKey::Beep), 0);
    EXPECT_EQ(s.beep, 0);
}

}  // namespace

// The integer keys of [ExcelAuto] read as GetPrivateProfileIntA reads them:
// hexadecimal, octal and binary prefixes, blanks, signs, quotes, an empty
// value giving the fallback, and no more than 29 characters looked at.
TEST_P(SettingsTest, IntegerKeysReadAsTheSystemsProfileIntReadsThem) {
    put("[ExcelAuto]\r\nHex=0x10\r\nOctal=0o17\r\nBinary=0b101\r\nBlanks=   12  \r\n"
        "Minus=-3\r\nPlus=+4\r\nTrailing=7abc\r\nLetters=x1\r\nQuoted=\"5\"\r\nEmpty=\r\n"
        "Long=" +
        std::string(28, '0') + "12\r\nUpperHex=0X10\r\n");
    const std::pair<const char*, int> expected[] = {
        {"Hex", 16}, {"Octal", 15},   {"Binary", 5},  {"Blanks", 12}, {"Minus", -3},
        {"Plus", 4}, {"Trailing", 7}, {"Letters", 0}, {"Quoted", 5},  {"Empty", 99},
        {"Long", 1}, {"UpperHex", 0}, {"Missing", 99}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(ini.readInt("ExcelAuto", key, 99), value) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Portable, SettingsTest,
                         ::testing::Values(SettingsBackend{"IniFile",
                                                           [](const std::filesystem::path& path) {
                                                               return std::make_unique<IniFile>(
                                                                   path);
                                                           }}),
                         settingsBackendName);

}  // namespace tarvo

#include "files/Settings.h"
#include "base/DecimalValue.h"

#include <string>

namespace tarvo {
namespace {

// Values are read as a caller's 80-character buffer would hold them.
constexpr std::size_t kValueBuffer = 80;

std::int8_t lowByte(int value) {
    return static_cast<std::int8_t>(static_cast<unsigned>(value) & 0xFF);
}

std::string readAndWriteBack(IniFile& ini, const char* key, const char* fallback) {
    std::string text = ini.readString(kGenericSection, key, fallback, kValueBuffer);
    ini.write(kGenericSection, key, text);
    return text;
}

const char* keyName(SettingKey key) {
    switch (key) {
        case SettingKey::FilePath:
            return "FILEPATH";
        case SettingKey::FileType:
            return "FILETYPE";
        case SettingKey::ComNumber:
            return "COMMNO";
        case SettingKey::InstantSave:
            return "INSTANTSAVE";
        case SettingKey::Beep:
            return "BEEP";
    }
    return "";
}

}  // namespace

int Settings::load(IniFile& ini) {
    comNumber = lowByte(decimalValue(readAndWriteBack(ini, "COMMNO", "1")));
    fileType = lowByte(decimalValue(readAndWriteBack(ini, "FILETYPE", "5")));
    filePath = readAndWriteBack(ini, "FILEPATH", "C:\\tarvo");
    instantSave = lowByte(decimalValue(readAndWriteBack(ini, "INSTANTSAVE", "0")));
    std::string versionText = readAndWriteBack(ini, "VERSION", "M");
    version = versionText.empty() ? '\0' : versionText.front();
    beep = lowByte(decimalValue(readAndWriteBack(ini, "BEEP", "1")));
    return 0;
}

int Settings::writeKey(IniFile& ini, SettingKey key) const {
    std::string text;
    switch (key) {
        case SettingKey::FilePath:
            text = filePath;
            break;
        case SettingKey::FileType:
            text = std::to_string(fileType);
            break;
        case SettingKey::ComNumber:
            text = std::to_string(comNumber);
            break;
        case SettingKey::InstantSave:
            text = std::to_string(instantSave);
            break;
        case SettingKey::Beep:
            text = std::to_string(beep);
            break;
    }
    ini.write(kGenericSection, keyName(key), text);
    return 0;
}

}  // namespace tarvo

// Start-up over any settings file: the record is filled within its bounds and
// the file then holds all six keys, as read.
#include "FuzzSupport.h"
#include "base/DecimalValue.h"
#include "files/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo::fuzz;
    const auto path = scratchFile("Tarvo.ini");
    writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
    tarvo::IniFile ini(path);
    tarvo::Settings settings;
    require(settings.load(ini) == 0, "load answers 0");
    require(settings.filePath.size() <= tarvo::kMaxFilePath, "FILEPATH fits its field");
    for (const char* key : {"COMMNO", "FILETYPE", "FILEPATH", "INSTANTSAVE", "VERSION", "BEEP"}) {
        require(ini.value(tarvo::kGenericSection, key).has_value(), "every key is in the file");
    }
    const auto comNumber = static_cast<std::int8_t>(
        tarvo::decimalValue(ini.readString(tarvo::kGenericSection, "COMMNO", "", 80)) & 0xFF);
    require(comNumber == settings.comNumber, "COMMNO is written back as read");
    return 0;
}

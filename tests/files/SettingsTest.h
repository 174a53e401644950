#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "TempDir.h"
#include "files/IniFile.h"
#include "files/Settings.h"

namespace tarvo {

// One way to reach Tarvo.ini; the settings cases run once for each.
struct SettingsBackend {
    const char* name;
    std::unique_ptr<IniFile> (*open)(const std::filesystem::path& path);
};

inline std::string wholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

inline std::string settingsBackendName(const ::testing::TestParamInfo<SettingsBackend>& info) {
    return info.param.name;
}

// Every backend of Tarvo.ini must give Settings the same file: the program's
// own reader and writer, and on Windows the system's private-profile functions.
class SettingsTest : public ::testing::TestWithParam<SettingsBackend> {
  protected:
    std::string fileText() const { return wholeFile(path); }
    void put(const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    Settings loaded() {
        Settings settings;
        EXPECT_EQ(settings.load(ini), 0);
        return settings;
    }
    std::unique_ptr<IniFile> open(const std::filesystem::path& file) const {
        return GetParam().open(file);
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "tarvo" / "Tarvo.ini";
    std::unique_ptr<IniFile> file = open(path);
    IniFile& ini = *file;
};

}  // namespace tarvo

// The settings reader and writer over any file: every key reads without
// harm, and a write changes the one line it is about (or adds it, with its
// section), leaving every other line as it stood.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "files/IniFile.h"

namespace tarvo::fuzz {
namespace {

struct Key {
    std::string section;
    std::string key;
};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A name a caller could ask for: no blanks around it, nothing that would
// make its line read as something else.
bool usableName(const std::string& name) {
    return name == trimmed(name) && name.find_first_of("[]=;\r\n") == std::string::npos;
}

// The section and key names of the file, roughly as a reader picks them out;
// names a caller could not pass are left out.
std::vector<Key> keysIn(const std::vector<std::string>& lines) {
    std::vector<Key> keys;
    std::string section;
    for (const auto& line : lines) {
        const std::string text = trimmed(line);
        const auto close = text.find(']');
        if (!text.empty() && text.front() == '[' && close != std::string::npos) {
            section = trimmed(text.substr(1, close - 1));
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            Key key{section, trimmed(line.substr(0, equals))};
            if (!key.key.empty() && usableName(key.key) && usableName(key.section)) {
                keys.push_back(key);
            }
        }
    }
    return keys;
}

bool sameFrom(const std::vector<std::string>& a, std::size_t i, const std::vector<std::string>& b,
              std::size_t j) {
    return a.size() - i == b.size() - j && std::equal(a.begin() + i, a.end(), b.begin() + j);
}

// After the first difference the new file either replaced that line, inserted
// one line there, or appended the section with its key.
bool onlyTheKeyChanged(const std::vector<std::string>& before,
                       const std::vector<std::string>& after, const std::string& value) {
    if (before == after) {
        return true;  // the key held the value already
    }
    std::size_t i = 0;
    while (i < before.size() && i < after.size() && before[i] == after[i]) {
        ++i;
    }
    const std::string ending = "=" + value;
    auto isKeyLine = [&](const std::string& line) {
        return line.size() >= ending.size() &&
               line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
    };
    if (i < before.size() && i < after.size() && isKeyLine(after[i]) &&
        sameFrom(before, i + 1, after, i + 1)) {
        return true;  // replaced, or nothing to change
    }
    if (i < after.size() && isKeyLine(after[i]) && sameFrom(before, i, after, i + 1)) {
        return true;  // inserted into its section
    }
    if (i == before.size()) {
        const std::size_t added = after.size() - i;
        const bool blankFirst = added == 3 && after[i].empty();
        return (added == 2 || blankFirst) && after[i + (blankFirst ? 1 : 0)].front() == '[' &&
               isKeyLine(after.back());
    }
    return false;
}

}  // namespace
}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo::fuzz;
    FuzzedDataProvider input(data, size);
    const std::string value = plainWord(input.ConsumeRandomLengthString(24), 24);
    const bool newKey = input.ConsumeBool();
    const std::string newName = plainWord(input.ConsumeRandomLengthString(12), 12);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const auto path = scratchFile("Tarvo.ini");
    writeBytes(path, text);
    tarvo::IniFile ini(path);
    const auto before = iniLines(text);
    const auto keys = keysIn(before);
    for (const auto& [section, key] : keys) {
        ini.readString(section, key, "fallback", 80);
        ini.readInt(section, key, -1);
    }
    Key target{newName, newName};
    if (!newKey && !keys.empty()) {
        target = keys[value.size() % keys.size()];
    }
    if (!ini.write(target.section, target.key, value)) {
        require(readBytes(path) == text, "a failed write leaves the file as it was");
        return 0;
    }
    const auto after = iniLines(readBytes(path));
    require(onlyTheKeyChanged(before, after, value), "untouched lines survive a write");
    require(ini.value(target.section, target.key) == value, "a written key reads back");
    return 0;
}

#include "files/IniFile.h"

#include <cstdint>
#include <utility>

#include "files/WholeFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

namespace tarvo {
namespace {

struct Lines {
    std::vector<std::string> lines;
    bool crlf = false;
};

std::string_view trim(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Missing or unreadable files read as empty: the caller then falls back to defaults.
Lines readLines(const std::filesystem::path& path) {
    Lines result;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            result.crlf = true;
        }
        result.lines.push_back(std::move(line));
    }
    // A new file gets the line ends every other file of the program has.
    if (result.lines.empty())
        result.crlf = true;
    return result;
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    line = trim(line);
    return !line.empty() && line.front() == ';';
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> keyName(std::string_view line) {
    if (isComment(line))
        return std::nullopt;
    auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, equals));
}

std::string_view valueOf(std::string_view line) {
    auto value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

struct Position {
    std::size_t sectionLine = std::string::npos;  // the "[Section]" line
    std::size_t end = 0;                          // first line after the section
    std::size_t keyLine = std::string::npos;
};

Position locate(const std::vector<std::string>& lines, std::string_view section,
                std::string_view key) {
    Position at;
    at.end = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (!name)
            continue;
        if (at.sectionLine != std::string::npos) {
            at.end = i;
            break;
        }
        if (sameName(*name, section))
            at.sectionLine = i;
    }
    if (at.sectionLine == std::string::npos)
        return at;
    for (std::size_t i = at.sectionLine + 1; i < at.end; ++i) {
        auto name = keyName(lines[i]);
        if (name && sameName(*name, key)) {
            at.keyLine = i;
            break;
        }
    }
    return at;
}

// Within the section, a new key goes after its last non-blank line, so the blank
// line that separates it from the next section stays where it was.
std::size_t insertionPoint(const std::vector<std::string>& lines, const Position& at) {
    std::size_t point = at.end;
    while (point > at.sectionLine + 1 && trim(lines[point - 1]).empty())
        --point;
    return point;
}

bool carriesLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    auto file = readLines(path_);
    auto at = locate(file.lines, section, key);
    if (at.keyLine == std::string::npos)
        return std::nullopt;
    return std::string(valueOf(file.lines[at.keyLine]));
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback, std::size_t bufferSize) const {
    std::string text = value(section, key).value_or(std::string(fallback));
    if (bufferSize == 0)
        return {};
    if (text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    return text;
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    auto text = value(section, key);
    return text && !text->empty() ? profileIntValue(*text) : fallback;
}

namespace {

// A digit of any base up to 36, or -1.
int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return -1;
}

// The base a "0x", "0o" or "0b" prefix chooses, taking the prefix; else 10.
unsigned takeBase(std::string_view& text) {
    if (text.size() >= 2 && text[0] == '0') {
        for (auto [letter, base] : {std::pair{'x', 16u}, {'o', 8u}, {'b', 2u}}) {
            if (text[1] == letter) {
                text.remove_prefix(2);
                return base;
            }
        }
    }
    return 10;
}

}  // namespace

int profileIntValue(std::string_view text) {
    // The system reads the value into a buffer of 30 characters.
    text = text.substr(0, 29);
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const unsigned base = takeBase(text);
    std::uint32_t total = 0;
    for (char c : text) {
        const int digit = digitValue(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base)
            break;
        total = total * base + static_cast<unsigned>(digit);
    }
    return static_cast<int>(negative ? 0u - total : total);
}

bool IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    // A line break in a value would plant lines of its own in the file.
    if (carriesLineBreak(section) || carriesLineBreak(key) || carriesLineBreak(value))
        return false;
    // A file that exists but cannot be read must not be replaced by one holding a single key.
    std::error_code error;
    if (std::filesystem::exists(path_, error) && !std::ifstream(path_, std::ios::binary)) {
        return false;
    }
    auto file = readLines(path_);
    auto at = locate(file.lines, section, key);
    std::string line = std::string(key) + "=" + std::string(value);
    if (at.keyLine != std::string::npos) {
        auto& old = file.lines[at.keyLine];
        // Keep the key as the file spells it.
        line = std::string(trim(old.substr(0, old.find('=')))) + "=" + std::string(value);
        old = line;
    } else if (at.sectionLine != std::string::npos) {
        file.lines.insert(file.lines.begin() + insertionPoint(file.lines, at), line);
    } else {
        if (!file.lines.empty() && !trim(file.lines.back()).empty())
            file.lines.emplace_back();
        file.lines.push_back("[" + std::string(section) + "]");
        file.lines.push_back(line);
    }
    const char* eol = file.crlf ? "\r\n" : "\n";
    std::string text;
    for (const auto& l : file.lines)
        text += l + eol;
    return replaceWholeFile(path_, text);
}

}  // namespace tarvo

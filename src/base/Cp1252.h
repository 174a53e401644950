#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The program's single-byte text is Windows code page 1252, the code page its
// files, INI values and spreadsheet cells were always written in. Everything
// UTF-8 (the screen, the Linux file system) is converted here and nowhere else.
namespace tarvo::cp1252 {

namespace detail {

// Code points of the bytes 0x80 to 0x9F. The five bytes Windows leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, as Windows' own conversion does, so every byte survives a round trip.
inline constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline char32_t codePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

inline std::optional<unsigned char> byteFor(char32_t point) {
    if (point < 0x80 || (point >= 0xA0 && point <= 0xFF)) {
        return static_cast<unsigned char>(point);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == point) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

inline void appendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// The next code point of UTF-8 text, or nothing when the bytes are not UTF-8.
inline std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || lead > 0xF4 || at + static_cast<std::size_t>(more) > text.size()) {
        return std::nullopt;
    }
    char32_t point = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        const auto next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        point = (point << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (point < least[more] || (point >= 0xD800 && point <= 0xDFFF)) {
        return std::nullopt;
    }
    return point;
}

}  // namespace detail

// UTF-8 for the screen, the clipboard or the Linux file system.
inline std::string fromCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char byte : text) {
        detail::appendUtf8(out, detail::codePoint(static_cast<unsigned char>(byte)));
    }
    return out;
}

// CP1252 bytes of UTF-8 text, or nothing when a character has no byte in the
// code page: the caller refuses such text instead of writing a "?".
inline std::optional<std::string> toCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> point = detail::nextUtf8(utf8, at);
        const std::optional<unsigned char> byte =
            point ? detail::byteFor(*point) : std::optional<unsigned char>();
        if (!byte) {
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

inline bool representable(std::string_view utf8) {
    return toCp1252(utf8).has_value();
}

}  // namespace tarvo::cp1252

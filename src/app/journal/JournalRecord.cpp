#include "app/journal/JournalRecord.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace tarvo {

namespace {

std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void appendEscaped(std::string& out, std::string_view field) {
    for (char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

std::string unescaped(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::vector<std::string> splitFields(std::string_view payload) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = payload.find('\t', start);
        fields.push_back(unescaped(payload.substr(start, tab - start)));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

}  // namespace

std::uint32_t crc32(std::string_view bytes) {
    static const auto table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char byte : bytes)
        c = table[(c ^ byte) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string encodeRecord(const JournalRecord& record) {
    std::string payload = record.kind;
    for (const auto& field : record.fields) {
        payload += '\t';
        appendEscaped(payload, field);
    }
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%zu %08x ", payload.size(),
                  static_cast<unsigned>(crc32(payload)));
    return prefix + payload + '\n';
}

std::optional<JournalRecord> decodeRecord(std::string_view line) {
    std::size_t length = 0;
    const auto [lengthEnd, lengthError] =
        std::from_chars(line.data(), line.data() + line.size(), length);
    const std::size_t crcStart = static_cast<std::size_t>(lengthEnd - line.data()) + 1;
    if (lengthError != std::errc() || crcStart + 9 > line.size() || line[crcStart - 1] != ' ' ||
        line[crcStart + 8] != ' ')
        return std::nullopt;
    std::uint32_t crc = 0;
    const char* crcBegin = line.data() + crcStart;
    const auto [crcEnd, crcError] = std::from_chars(crcBegin, crcBegin + 8, crc, 16);
    const std::string_view payload = line.substr(crcStart + 9);
    if (crcError != std::errc() || crcEnd != crcBegin + 8 || payload.size() != length ||
        crc32(payload) != crc)
        return std::nullopt;
    std::vector<std::string> fields = splitFields(payload);
    JournalRecord record{std::move(fields.front()), {}};
    record.fields.assign(std::make_move_iterator(fields.begin() + 1),
                         std::make_move_iterator(fields.end()));
    return record;
}

}  // namespace tarvo

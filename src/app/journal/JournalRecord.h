#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// The reading journal is a text file, one record a line, so that a person can
// read it with less:
//
//   <length> <crc> <kind>[TAB<field>]...LF
//
// <length> is the decimal byte count of everything after the CRC's blank up to
// the LF, <crc> the CRC-32 of those bytes as eight lower-case hex digits.
// Backslash, TAB, CR and LF inside a field are written \\, \t, \r and \n, so a
// record never spans lines. A line whose length or CRC does not match was torn
// by a crash (or by a full disk) and is skipped; the records around it stand.
//
// Kinds, oldest first as the table changed:
//   tarvo-journal 1                  first line of every journal
//   layout <colour-at-creation|colour|density>   new header, no rows
//   add <cell 0>...<cell 9>          a reading at the top
//   replace <row> <cell 0>...        a reading written over a row (Change)
//   cell <row> <column> <text>       one cell (a comment)
//   delete <row>                     the row removed, the rest renumbered
//   clear                            every row removed
//   saved                            the table was written whole to a file
// Trailing empty cells are left out.
struct JournalRecord {
    std::string kind;
    std::vector<std::string> fields;
};

inline constexpr std::string_view kJournalHeader = "tarvo-journal";
inline constexpr std::string_view kJournalVersion = "1";

std::uint32_t crc32(std::string_view bytes);

// One line, LF included.
std::string encodeRecord(const JournalRecord& record);

// The record of one line (without its LF); nothing when the line is torn.
std::optional<JournalRecord> decodeRecord(std::string_view line);

}  // namespace tarvo

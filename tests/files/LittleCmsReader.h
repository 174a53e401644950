#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarvo::test {

using CgatsRow = std::vector<std::string>;

// What LittleCMS, the CGATS reader inside most colour tools, takes from a file.
struct LittleCmsReading {
    std::string error;  // its own words when it refused the file; empty when it took it
    std::string descriptor;
    std::vector<std::string> fields;
    std::vector<CgatsRow> rows;
};

// A file with the fields of a reference (SAMPLE_ID, D_RED, D_GREEN, D_BLUE,
// D_VIS) is read by the program's own reader too, which must find the same sets.
LittleCmsReading readWithLittleCms(const std::filesystem::path& file);
// LittleCMS's reading alone.
LittleCmsReading readOnlyWithLittleCms(const std::filesystem::path& file);
// The same for a text not yet in a file: it is written to one for the reader.
LittleCmsReading readTextWithLittleCms(const std::string& text);

// Expects LittleCMS to have taken the file with these fields and rows, one
// text per field as the table holds it. Numbers compare as numbers: the
// reader gives 1.50 back as 1.5.
void expectReadAs(const LittleCmsReading& reading, const std::vector<std::string>& fields,
                  const std::vector<CgatsRow>& rows);

}  // namespace tarvo::test

#include "SoakCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/ReadingCells.h"
#include "app/journal/JournalRecord.h"

namespace tarvo::soak {

namespace {

constexpr std::size_t kColumns = 10;
constexpr std::size_t kReasonsKept = 20;

std::vector<std::uint8_t> hexBytes(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(
            static_cast<std::uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool parseTime(const std::string& text, int (&parts)[3]) {
    return std::sscanf(text.c_str(), "%d:%d:%d", &parts[0], &parts[1], &parts[2]) == 3;
}

Row padded(std::vector<std::string> cells) {
    cells.resize(kColumns);
    return cells;
}

std::string describe(const Row& row) {
    std::string text;
    for (const auto& cell : row)
        text += "|" + cell;
    return text;
}

std::string describe(const std::vector<SheetCell>& row) {
    std::string text;
    for (const auto& cell : row)
        text += "|" + (cell.empty ? std::string() : cell.text);
    return text;
}

// "BC12" as the sheet's row 12 and column 55, from 1; false for another text.
bool parseAddress(const std::string& address, std::size_t& row, std::size_t& column) {
    std::size_t i = 0;
    column = 0;
    for (; i < address.size() && address[i] >= 'A' && address[i] <= 'Z'; ++i)
        column = column * 26 + static_cast<std::size_t>(address[i] - 'A' + 1);
    char* end = nullptr;
    row = std::strtoul(address.c_str() + i, &end, 10);
    return i > 0 && column > 0 && row > 0 && *end == '\0';
}

// The sheet's column letter of table column 0 to 25.
std::string columnLetter(std::size_t column) {
    return std::string(1, static_cast<char>('A' + column));
}

// A value as the call log describes it: "I4 12", "R8 1.5", "BSTR \"text\"".
SheetCell recordedCell(const std::string& described) {
    SheetCell cell;
    cell.empty = false;
    const auto quote = described.find('"');
    if (described.rfind("BSTR ", 0) == 0 && quote != std::string::npos &&
        described.size() > quote + 1 && described.back() == '"') {
        cell.text = described.substr(quote + 1, described.size() - quote - 2);
    } else if (described.rfind("I4 ", 0) == 0 || described.rfind("R8 ", 0) == 0) {
        cell.number = true;
        cell.text = described.substr(3);
        cell.value = std::strtod(cell.text.c_str(), nullptr);
    } else {
        cell.text = described;  // a kind the client never writes: held by no table text
    }
    return cell;
}

}  // namespace

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "colour 3,1230,-200,0,3000,0" of a line instrument's "reading" event.
SentReading lineReading(const std::string& kind, const std::string& values) {
    SentReading reading;
    reading.density = kind == "density";
    std::istringstream fields(values);
    std::string field;
    for (std::size_t i = 0; i < reading.values.size() && std::getline(fields, field, ','); ++i)
        reading.values[i] = std::atoi(field.c_str());
    return reading;
}

std::vector<SentReading> sentReadings(const std::string& log) {
    std::vector<SentReading> sent;
    std::istringstream lines(log);
    std::string line;
    bool fetching = false;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string time, event, argument, values;
        words >> time >> event >> argument >> values;
        if (event == "reading") {
            sent.push_back(lineReading(argument, values));
        } else if (event == "cmd") {
            fetching = argument == "XD";
        } else if (event == "send" && fetching) {
            fetching = false;
            const auto bytes = hexBytes(argument);
            if (bytes.size() != 12 && bytes.size() != 6)
                continue;
            SentReading reading;
            reading.density = bytes.size() == 6;
            for (std::size_t word = 0; word * 2 < bytes.size(); ++word)
                reading.values[word] =
                    static_cast<std::int16_t>((bytes[word * 2] << 8) | bytes[word * 2 + 1]);
            sent.push_back(reading);
        }
    }
    return sent;
}

std::vector<Row> journalledRows(const std::string& journal) {
    std::vector<Row> rows;
    std::istringstream lines(journal);
    std::string line;
    while (std::getline(lines, line)) {
        const auto record = decodeRecord(line);
        if (!record)
            continue;
        if (record->kind == "add") {
            rows.push_back(padded(record->fields));
        } else if (record->kind == "cell" && record->fields.size() == 3 && !rows.empty() &&
                   record->fields[0] == "0") {
            const auto column = static_cast<std::size_t>(std::atoi(record->fields[1].c_str()));
            if (column < kColumns)
                rows.back()[column] = record->fields[2];
        }
    }
    return rows;
}

bool differsFromSent(const Row& row, const SentReading& sent) {
    if (row.size() < kColumns || row[1] != "  " + std::to_string(sent.values[0]))
        return true;
    auto cells = sent.density ? densityCells(sent.values, "") : colourCells(sent.values, 'M', "");
    cells.pop_back();  // the time
    for (const CellText& cell : cells) {
        if (row[static_cast<std::size_t>(cell.column)] != cell.text)
            return true;
    }
    return false;
}

bool sheetHolds(const SheetCell& cell, const std::string& tableText) {
    const std::string text = trimmed(tableText);
    if (text.empty())
        return cell.empty || cell.text.empty();
    // A number typed over a time keeps the cell's time format, in Calc as in
    // Excel (a layout switch writes densities where times stood): its value counts.
    int want[3], have[3];
    if (cell.time && parseTime(text, want)) {
        return parseTime(cell.text, have) && want[0] == have[0] && want[1] == have[1] &&
               want[2] == have[2];
    }
    if (cell.number) {
        char* end = nullptr;
        const double want = std::strtod(text.c_str(), &end);
        return *end == '\0' && std::fabs(want - cell.value) < 1e-9;
    }
    return cell.text == text;
}

std::vector<CellWrite> recordedWrites(const std::string& record) {
    std::vector<CellWrite> writes;
    std::istringstream lines(record);
    std::string line;
    while (std::getline(lines, line)) {
        const auto tab = line.find('\t');
        std::size_t row = 0, column = 0;
        if (tab == std::string::npos || !parseAddress(line.substr(0, tab), row, column))
            continue;
        writes.push_back({line.substr(0, tab), recordedCell(line.substr(tab + 1))});
    }
    return writes;
}

bool recordHolds(const SheetCell& cell, const std::string& tableText) {
    if (cell.empty)
        return false;
    if (!cell.number)
        return cell.text == tableText;
    char* end = nullptr;
    const double want = std::strtod(tableText.c_str(), &end);
    return !tableText.empty() && *end == '\0' && want == cell.value;
}

void SoakCounts::mismatch(std::string reason) {
    ++mismatched;
    if (why.size() < kReasonsKept)
        why.push_back("mismatch: " + std::move(reason));
}

void SoakCounts::loss(std::string reason) {
    ++lost;
    if (why.size() < kReasonsKept)
        why.push_back("lost: " + std::move(reason));
}

void compareReadings(const std::vector<SentReading>& sent, const std::vector<Row>& shown,
                     const std::vector<Row>& journalled, SoakCounts& counts) {
    counts.sent = static_cast<int>(sent.size());
    counts.shown = static_cast<int>(shown.size());
    counts.journalled = static_cast<int>(journalled.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        if (i >= shown.size())
            counts.loss("reading " + std::to_string(sent[i].values[0]) + " sent, never shown");
        else if (differsFromSent(shown[i], sent[i]))
            counts.mismatch("shown " + describe(shown[i]) + " for device reading " +
                            std::to_string(sent[i].values[0]));
    }
    for (std::size_t i = sent.size(); i < shown.size(); ++i)
        counts.mismatch("shown " + describe(shown[i]) + ", never sent");
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (i >= journalled.size())
            counts.loss("shown " + describe(shown[i]) + ", not in the journal");
        else if (journalled[i] != shown[i])
            counts.mismatch("journal " + describe(journalled[i]) + " for shown " +
                            describe(shown[i]));
    }
    for (std::size_t i = shown.size(); i < journalled.size(); ++i)
        counts.mismatch("journal " + describe(journalled[i]) + ", never shown");
}

std::vector<Row> expectedSheet(const std::vector<Row>& shown) {
    std::vector<Row> expected;
    for (const Row& row : shown) {
        const int number = std::atoi(row[0].c_str());
        if (number < 1)
            continue;
        if (expected.size() < static_cast<std::size_t>(number))
            expected.resize(static_cast<std::size_t>(number));
        expected[static_cast<std::size_t>(number - 1)] = row;
    }
    return expected;
}

void compareSheet(const std::vector<Row>& expected,
                  const std::vector<std::vector<SheetCell>>& sheet, SoakCounts& counts,
                  CellHolds holds) {
    for (std::size_t n = 0; n < expected.size(); ++n) {
        const Row& row = expected[n];
        if (row.empty())
            continue;
        const bool missing = n >= sheet.size() || sheet[n].empty() || sheet[n][0].empty;
        if (missing) {
            counts.loss("sheet row " + std::to_string(n + 1) + " empty for " + describe(row));
            continue;
        }
        bool held = true;
        for (std::size_t column = 0; column < kColumns && column < sheet[n].size(); ++column)
            held = held && holds(sheet[n][column], row[column]);
        if (held)
            ++counts.placed;
        else
            counts.mismatch("sheet row " + std::to_string(n + 1) + " holds " + describe(sheet[n]) +
                            " for " + describe(row));
    }
}

void compareWrites(const std::vector<Row>& shown, const std::vector<Placing>& placing,
                   const std::vector<CellWrite>& writes, SoakCounts& counts) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Row& row = shown[i];
        const Placing rule = i < placing.size() ? placing[i] : Placing::Must;
        const std::string number = std::to_string(std::atoi(row[0].c_str()));
        // The writes at `next` that go to this row's cells in order, and
        // how many of them hold the table's text.
        std::size_t addressed = 0, held = 0;
        while (addressed < kColumns && next + addressed < writes.size() &&
               writes[next + addressed].address == columnLetter(addressed) + number) {
            if (held == addressed && recordHolds(writes[next + addressed].value, row[addressed]))
                ++held;
            ++addressed;
        }
        next += addressed;
        if (addressed == 0) {
            if (rule == Placing::Must)
                counts.loss("row " + describe(row) + " never written into the sheet");
        } else if (held < kColumns) {
            counts.mismatch("row " + describe(row) + " written " + std::to_string(addressed) +
                            " cells, the first " + std::to_string(held) + " as shown");
        } else if (rule == Placing::MustNot) {
            counts.mismatch("row " + describe(row) + " written while the sheet was closed");
        } else {
            ++counts.placed;
            counts.placedMay += rule == Placing::May ? 1 : 0;
        }
    }
    if (next < writes.size())
        counts.mismatch(std::to_string(writes.size() - next) + " writes of no shown row, from " +
                        writes[next].address + " " + writes[next].value.text);
}

void compareTable(const std::vector<Row>& watched, const std::vector<Row>& table,
                  SoakCounts& counts) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Row row = padded(table[i]);
        if (i >= watched.size())
            counts.mismatch("table row " + describe(row) + ", never watched");
        else if (watched[watched.size() - 1 - i] != row)
            counts.mismatch("table row " + describe(row) + " watched as " +
                            describe(watched[watched.size() - 1 - i]));
    }
}

}  // namespace tarvo::soak

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "table/ReadingKind.h"

namespace tarvo::soak {

// One row as the table showed it when its reading came: cells 0 to 9.
using Row = std::vector<std::string>;

// A reading the simulator sent in reply to a fetch, as its log tells it.
struct SentReading {
    bool density = false;
    ReadingValues values{};
};

// The whole file, empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

// The data replies of the simulator's log ("send" after "cmd XD"), or the
// readings a line instrument sent ("reading colour N,C,M,Y,K,0"), in order.
std::vector<SentReading> sentReadings(const std::string& log);

// The rows of the journal's readings in the order they came ("add", with the
// comments its later "cell" records wrote into the newest row).
std::vector<Row> journalledRows(const std::string& journal);

// A row whose cells differ from the reading sent (the time is not compared:
// the simulator does not log the wall clock).
bool differsFromSent(const Row& row, const SentReading& sent);

// A cell as read back from the workbook: its text, or its number.
struct SheetCell {
    bool empty = true;
    bool number = false;
    bool time = false;
    double value = 0.0;
    std::string text;
};

// The sheet cell holds what Excel makes of the table text typed into it.
bool sheetHolds(const SheetCell& cell, const std::string& tableText);

// One cell write the test automation server recorded: the cell's address
// ("B3") and the value as the sheet holds it.
struct CellWrite {
    std::string address;
    SheetCell value;
};

// The server's record of the cells it was given ("B3\tBSTR \"  7\"" lines),
// every write in the order it came; lines of another form are left out.
std::vector<CellWrite> recordedWrites(const std::string& record);

// The recorded cell holds exactly what the table showed: column 0 as its
// number, every other column as the text typed into it.
bool recordHolds(const SheetCell& cell, const std::string& tableText);

// Whether a reading's row must reach the sheet: the Excel dialog held a
// started workbook all the while the reading came, held none, or InitEXCEL
// or CloseEXCEL was under way meanwhile.
enum class Placing { Must, MustNot, May };

// What a run comes to, reading by reading.
struct SoakCounts {
    int sent = 0;
    int shown = 0;
    int journalled = 0;
    int placed = 0;
    int lost = 0;
    int placedMay = 0;  // rows placed of those that came while the sheet changed
    int mismatched = 0;
    std::vector<std::string> why;  // the first differences found, for the log

    void mismatch(std::string reason);
    void loss(std::string reason);
};

// Sent against shown against journalled, reading by reading.
void compareReadings(const std::vector<SentReading>& sent, const std::vector<Row>& shown,
                     const std::vector<Row>& journalled, SoakCounts& counts);

// The rows the sheet must hold in the end: row n holds the last reading
// numbered n (a layout switch numbers from 1 again and writes over them).
std::vector<Row> expectedSheet(const std::vector<Row>& shown);

// Every expected sheet row against the rows read back, cell by cell.
using CellHolds = bool (*)(const SheetCell& cell, const std::string& tableText);
void compareSheet(const std::vector<Row>& expected,
                  const std::vector<std::vector<SheetCell>>& sheet, SoakCounts& counts,
                  CellHolds holds = sheetHolds);

// Every write the server recorded, in order, against the rows shown: a row
// that reaches the sheet is its ten cells (columns 0 to 9 into A to J of the
// row its number names) written one after the other, in the order the rows
// were shown, exactly as the table showed them. A row that must be placed
// and is not is lost; a row written while the sheet was closed, written only
// in part or with another text, and any write of no shown row, mismatch.
void compareWrites(const std::vector<Row>& shown, const std::vector<Placing>& placing,
                   const std::vector<CellWrite>& writes, SoakCounts& counts);

// The table as it shows in the end (newest row first) against the last rows
// watched as they came: a watch that missed or misread a row would blame the
// program for it.
void compareTable(const std::vector<Row>& watched, const std::vector<Row>& table,
                  SoakCounts& counts);

}  // namespace tarvo::soak

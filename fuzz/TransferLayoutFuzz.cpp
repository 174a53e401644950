// The [ExcelAuto] layout over any settings file, and one reading placed with
// it: every stored field is one the dialog accepts, the column letters name
// a column or nothing, and every cell that reaches the sheet lies in
// A1:IV65536.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "RecordingAutomationObject.h"
#include "RecordingMessageBoxes.h"
#include "TransferFixture.h"
#include "excel/transfer/ColumnLetters.h"
#include "excel/transfer/Placement.h"

namespace tarvo::fuzz {
namespace {

void checkLetters(std::string text) {
    const std::string typed = text;
    const int column = columnFromLetters(text);
    if (column < 0) {
        require(column == -1 && text.empty(), "letters that name no column are emptied");
        return;
    }
    require(column >= 1 && column <= kMaxLetterColumn, "a column lies in A..GZ");
    require(text.size() == typed.size() && text.size() <= 2, "a column keeps its letters");
}

void checkSet(const TransferSet& set) {
    require(set.firstRow >= 0, "RowInit is taken only when 0 or more");
    require(set.firstColumn == 0 || set.firstColumn == -1 ||
                (set.firstColumn >= 1 && set.firstColumn <= kMaxLetterColumn),
            "ColumnInit is a column, -1 or untouched");
    require(set.firstListColumn == 0 || set.firstListColumn >= 1, "Start is taken only from 1");
    require(set.length >= 0, "Length is taken only when 0 or more");
}

// "A1" .. "IV65536": letters, then a row number.
bool insideTheSheet(const std::string& address) {
    std::size_t letters = 0;
    int column = 0;
    while (letters < address.size() && address[letters] >= 'A' && address[letters] <= 'Z') {
        column = column * 26 + (address[letters++] - 'A' + 1);
    }
    const std::string digits = address.substr(letters);
    if (letters == 0 || digits.empty() || digits.size() > 5 || digits.front() == '0' ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const int row = std::stoi(digits);
    return column >= 1 && column <= 256 && row >= 1 && row <= 65536;
}

void placeOneReading(FuzzedDataProvider& input, TransferSession& session) {
    test::FakeExcel excel;
    test::RecordingMessageBoxes boxes;
    session.client = std::make_unique<ExcelLink>(excel.factory(), boxes);
    require(session.client->newWorkbook() == ExcelError::Success, "the fake server starts");
    excel.clearCalls();
    ReadingTable table = test::tableOfReadings(input.ConsumeIntegralInRange(1, 3));
    table.setCell(0, 0, input.ConsumeRandomLengthString(12));
    session.layout.direction = input.ConsumeIntegral<std::int32_t>();
    // InitValues takes rows, lengths and list columns as typed, any number.
    if (input.ConsumeBool()) {
        for (TransferSet* set : {&session.layout.set1, &session.layout.set2}) {
            set->firstRow = input.ConsumeIntegral<std::int32_t>();
            set->firstColumn = input.ConsumeIntegral<std::int32_t>();
            set->firstListColumn = input.ConsumeIntegral<std::int32_t>();
            set->length = input.ConsumeIntegralInRange<std::int32_t>(-2, 40);
        }
    }
    placeReading(session, table, 0);
    for (const std::string& cell : test::writtenCells(excel.calls())) {
        require(insideTheSheet(cell.substr(0, cell.find('='))),
                "every placed cell is in A1:IV65536");
    }
    session.client->close();
}

}  // namespace
}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    using namespace tarvo::fuzz;
    FuzzedDataProvider input(data, size);
    checkLetters(input.ConsumeRandomLengthString(4));
    const std::string ini = input.ConsumeRandomLengthString(2048);
    const auto path = scratchFile("Tarvo.ini");
    writeBytes(path, ini);
    IniFile settings(path);
    TransferSession session;
    const TransferLayoutFields fields = loadTransferLayout(settings, session.layout);
    checkSet(session.layout.set1);
    checkSet(session.layout.set2);
    require(session.layout.direction == 1 || session.layout.direction == 2,
            "the direction is Horizontal or Vertical");
    require(fields.horizontal == session.layout.horizontal(), "the buttons show the direction");
    placeOneReading(input, session);
    return 0;
}

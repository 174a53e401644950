#include "excel/transfer/TransferLayout.h"

#include "base/DecimalValue.h"
#include "excel/transfer/ColumnLetters.h"

namespace tarvo {

namespace {

constexpr std::size_t kFieldLength = 19;
constexpr std::size_t kColumnKeyBuffer = 100;

struct SetKeys {
    const char* row;
    const char* column;
    const char* firstListColumn;
    const char* length;
};

constexpr SetKeys kSet1Keys{"RowInit1", "ColumnInit1", "Start1", "Length1"};
constexpr SetKeys kSet2Keys{"RowInit2", "ColumnInit2", "Start2", "Length2"};
constexpr const char* kDirectionKey = "Direction";

constexpr TransferSet kDefaults{1, 1, 1, 6};
constexpr std::int32_t kDefaultLength2 = 0;

// Reads an integer key; when it is at least `minimum` it is stored, shown and
// written back.
void loadInteger(IniFile& ini, const char* key, std::int32_t fallback, std::int32_t minimum,
                 std::int32_t& value, std::string& field) {
    const int read = ini.readInt(kExcelSection, key, fallback);
    if (read < minimum) {
        field.clear();
        return;
    }
    value = read;
    field = std::to_string(read);
    ini.write(kExcelSection, key, field);
}

void loadColumn(IniFile& ini, const char* key, std::int32_t& value, std::string& field) {
    std::string text = ini.readString(kExcelSection, key, "A", kColumnKeyBuffer);
    if (text.empty()) {
        field.clear();
        return;
    }
    // Letters that name no column are kept as -1, so every transfer then
    // tells the operator the layout is out of range; the text stays, for the
    // operator to see and mend.
    std::string letters = text;
    value = columnFromLetters(letters);
    field = value < 0 ? upperCased(text) : letters;
    ini.write(kExcelSection, key, field);
}

void loadSet(IniFile& ini, const SetKeys& keys, std::int32_t defaultLength, TransferSet& set,
             TransferSetFields& fields) {
    loadInteger(ini, keys.row, kDefaults.firstRow, 0, set.firstRow, fields.row);
    loadColumn(ini, keys.column, set.firstColumn, fields.column);
    loadInteger(ini, keys.firstListColumn, kDefaults.firstListColumn, 1, set.firstListColumn,
                fields.firstListColumn);
    loadInteger(ini, keys.length, defaultLength, 0, set.length, fields.length);
}

void takeSet(IniFile& ini, const SetKeys& keys, TransferSet& set, TransferSetFields& fields) {
    set.firstRow = decimalValue(fieldText(fields.row));
    ini.write(kExcelSection, keys.row, std::to_string(set.firstRow));

    std::string letters = fieldText(fields.column);
    const int column = columnFromLetters(letters);
    if (column < 0) {
        fields.column.clear();
    } else {
        set.firstColumn = column;
        ini.write(kExcelSection, keys.column, letters);
    }
}

// The rows, lengths and list columns are taken as typed: placing a reading
// skips what cannot be placed.
void takeRun(IniFile& ini, const SetKeys& keys, TransferSet& set, const TransferSetFields& fields) {
    const std::string firstListColumn = fieldText(fields.firstListColumn);
    const std::string length = fieldText(fields.length);
    set.firstListColumn = decimalValue(firstListColumn);
    set.length = decimalValue(length);
    ini.write(kExcelSection, keys.firstListColumn, firstListColumn);
    ini.write(kExcelSection, keys.length, length);
}

void writeDirection(IniFile& ini, std::int32_t direction) {
    ini.write(kExcelSection, kDirectionKey, std::to_string(direction));
}

}  // namespace

std::string fieldText(const std::string& text) {
    return text.substr(0, kFieldLength);
}

TransferLayoutFields loadTransferLayout(IniFile& ini, TransferLayout& layout) {
    layout.set1.firstRow = 0;
    layout.set1.firstColumn = 0;
    layout.direction = static_cast<std::int32_t>(Direction::Vertical);

    TransferLayoutFields fields;
    loadSet(ini, kSet1Keys, kDefaults.length, layout.set1, fields.set1);
    loadSet(ini, kSet2Keys, kDefaultLength2, layout.set2, fields.set2);

    const int direction =
        ini.readInt(kExcelSection, kDirectionKey, static_cast<int>(Direction::Vertical));
    if (direction >= 0) {
        layout.direction = static_cast<std::int32_t>(
            direction == static_cast<int>(Direction::Horizontal) ? Direction::Horizontal
                                                                 : Direction::Vertical);
        writeDirection(ini, layout.direction);
    }
    fields.horizontal = layout.horizontal();
    return fields;
}

TransferLayoutFields takeTransferLayout(IniFile& ini, TransferLayout& layout,
                                        const TransferLayoutFields& typed) {
    TransferLayoutFields fields = typed;
    layout.direction =
        static_cast<std::int32_t>(fields.horizontal ? Direction::Horizontal : Direction::Vertical);
    takeSet(ini, kSet1Keys, layout.set1, fields.set1);
    takeSet(ini, kSet2Keys, layout.set2, fields.set2);
    writeDirection(ini, layout.direction);
    takeRun(ini, kSet1Keys, layout.set1, fields.set1);
    takeRun(ini, kSet2Keys, layout.set2, fields.set2);
    return fields;
}

void setDirection(IniFile& ini, TransferLayout& layout, Direction direction) {
    layout.direction = static_cast<std::int32_t>(direction);
    writeDirection(ini, layout.direction);
}

}  // namespace tarvo

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "RecordingAutomationObject.h"
#include "RecordingMessageBoxes.h"
#include "excel/transfer/TransferSession.h"
#include "table/ReadingTable.h"

namespace tarvo::test {

// The cells a recorded run of writes filled, in order, as "B4=BSTR \"r3c1\"":
// each Range.Value put named by the address of the Range just fetched.
inline std::vector<std::string> writtenCells(const std::vector<std::string>& calls) {
    const std::string rangeCall = "Worksheet.get 0xC5 BSTR \"";
    const std::string valuePut = "Range.put 0x6 ";
    std::vector<std::string> cells;
    std::string address;
    for (const std::string& call : calls) {
        if (call.rfind(rangeCall, 0) == 0) {
            const std::size_t start = rangeCall.size();
            address = call.substr(start, call.find('"', start) - start);
        } else if (call.rfind(valuePut, 0) == 0) {
            cells.push_back(address + "=" + call.substr(valuePut.size()));
        }
    }
    return cells;
}

// A table of `count` colour readings; the cell in column j of the reading
// numbered n reads "r<n>c<j>", so every placed text tells where it came from.
inline ReadingTable tableOfReadings(int count) {
    ReadingTable table(900);
    for (int n = 1; n <= count; ++n) {
        table.addRow();
        for (int j = 1; j < kMaxColumns; ++j) {
            table.setCell(0, j, "r" + std::to_string(n) + "c" + std::to_string(j));
        }
    }
    return table;
}

// The table row of the reading numbered n.
inline int rowOf(const ReadingTable& table, int n) {
    return table.rowCount() - n;
}

}  // namespace tarvo::test

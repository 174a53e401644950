#pragma once

#include <functional>

#include "excel/transfer/TransferSession.h"
#include "table/ReadingTable.h"

namespace tarvo {

// Table columns that can go to the sheet: 0 as a number, 1..10 as text.
inline constexpr int kLastTransferColumn = 10;

// Copies the table row that has just received a reading into the sheet, at
// the cells the layout and the reading's number give. The first failing write
// is reported once and ends the reading's transfer; the answer is true then.
// Without a client nothing happens.
bool placeReading(TransferSession& session, const ReadingTable& table, int row);

// What the acquisition cycle calls for each new reading while the main window's
// Excel dialog is open: the reading goes to the sheet only while it is.
std::function<void(const ReadingTable&, int)> placementWhileOpen(TransferSession& session,
                                                                 std::function<bool()> dialogOpen);

}  // namespace tarvo

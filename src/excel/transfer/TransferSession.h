#pragma once

#include <memory>

#include "excel/ExcelLink.h"
#include "excel/transfer/TransferLayout.h"

namespace tarvo {

// What the Excel dialog shares with the placing of readings, for the whole
// run: the layout and the one spreadsheet client (none until InitEXCEL).
struct TransferSession {
    TransferLayout layout;
    std::unique_ptr<ExcelLink> client;
};

}  // namespace tarvo

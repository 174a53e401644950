#include "excel/transfer/Placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "table/CellNumbers.h"

namespace tarvo {

namespace {

// Targets are computed wide: a layout or reading number near the integer
// limits must end as an out-of-range cell, not as an overflow.
std::int32_t cellIndex(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

struct Steps {
    std::int64_t h;
    std::int64_t v;
};

// Writes one set; the error of the first failed write, Success otherwise.
ExcelError placeSet(ExcelLink& client, const TransferSet& set, Steps steps, int n,
                    const ReadingTable& table, int row) {
    if (set.length <= 0) {
        return ExcelError::Success;
    }
    const std::int64_t baseRow = set.firstRow + (std::int64_t{n} - 1) * steps.v;
    const std::int64_t baseColumn = set.firstColumn + (std::int64_t{n} - 1) * steps.h;
    // Only k whose table column lies in 0..10 write anything; the targets of
    // the others still count, so the loop starts at the first such k.
    const std::int64_t firstColumn = std::int64_t{set.firstListColumn} - 1;
    const std::int64_t kFirst = std::max<std::int64_t>(0, -firstColumn);
    const std::int64_t kLast =
        std::min<std::int64_t>(std::int64_t{set.length} - 1, kLastTransferColumn - firstColumn);
    for (std::int64_t k = kFirst; k <= kLast; ++k) {
        const int j = static_cast<int>(firstColumn + k);
        const std::int32_t targetRow = cellIndex(baseRow + k * steps.h);
        const std::int32_t targetColumn = cellIndex(baseColumn + k * steps.v);
        const ExcelError result =
            j == 0
                ? client.writeCell(targetRow, targetColumn, CellValueKind::Integer, 0, n, 0.0, {})
                : client.writeText(targetRow, targetColumn, table.cell(row, j));
        if (result != ExcelError::Success) {
            return result;
        }
    }
    return ExcelError::Success;
}

}  // namespace

std::function<void(const ReadingTable&, int)> placementWhileOpen(TransferSession& session,
                                                                 std::function<bool()> dialogOpen) {
    return [&session, dialogOpen = std::move(dialogOpen)](const ReadingTable& table, int row) {
        if (dialogOpen())
            placeReading(session, table, row);
    };
}

bool placeReading(TransferSession& session, const ReadingTable& table, int row) {
    if (!session.client) {
        return false;
    }
    ExcelLink& client = *session.client;
    const TransferLayout& layout = session.layout;
    const Steps steps = layout.horizontal() ? Steps{1, 0} : Steps{0, 1};
    const int n = readingNumber(table, row);
    for (const TransferSet* set : {&layout.set1, &layout.set2}) {
        const ExcelError result = placeSet(client, *set, steps, n, table, row);
        if (result != ExcelError::Success) {
            client.reportError(result);
            return true;
        }
    }
    return false;
}

}  // namespace tarvo

#pragma once

#include <optional>
#include <string_view>

#include "table/ReadingTable.h"

namespace tarvo {

// The numbers of a row, read back from the texts its cells show.

// A value cell as the table shows it ("1.23", "-0.00"); nothing for an
// empty cell or one that holds no number.
std::optional<double> shownNumber(std::string_view text);

// The reading's number: the leading digits of the row's column 0, 0 when
// there are none.
int readingNumber(const ReadingTable& table, int row);

}  // namespace tarvo

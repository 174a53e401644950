#include "table/CellNumbers.h"

#include <charconv>
#include <cstddef>

#include "base/DecimalValue.h"

namespace tarvo {

namespace {

constexpr std::size_t kNumberLength = 49;

}  // namespace

std::optional<double> shownNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

int readingNumber(const ReadingTable& table, int row) {
    return decimalValue(table.cell(row, 0).substr(0, kNumberLength));
}

}  // namespace tarvo

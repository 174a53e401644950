#pragma once

#include <array>
#include <cstdint>

namespace tarvo {

// The kind of a reading, and so the table's mode: it decides the table's
// columns and which file layouts accept the table.
enum class ReadingKind { Colour = 0, Density = 1 };

// What one exchange hands out: [0] is the device's reading number (0 when no
// new reading came), then the values as the device sent them.
using ReadingValues = std::array<std::int32_t, 6>;

}  // namespace tarvo

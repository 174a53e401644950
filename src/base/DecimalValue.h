#pragma once

#include <string_view>

namespace tarvo {

// atoi-style conversion: leading blanks skipped, optional sign, digits up to the
// first other character; no digits gives 0. Values beyond int are clamped.
int decimalValue(std::string_view text);

}  // namespace tarvo

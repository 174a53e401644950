#pragma once

#include <string_view>

namespace tarvo {

// Writes all of bytes to fd, again after a signal and after a short write.
// 0 when all is written, else the errno of the failure; a write that takes
// nothing counts as a full disk (ENOSPC).
int writeAll(int fd, std::string_view bytes);

}  // namespace tarvo

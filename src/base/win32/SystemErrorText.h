#pragma once

#include <windows.h>

#include <string>

namespace tarvo {

// The system's text for an error number (FormatMessageA), without its line end.
std::string systemErrorText(DWORD error);

}  // namespace tarvo

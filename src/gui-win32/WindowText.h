#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tarvo::win32 {

// The text of a window or control, as the single-byte text the rules work with.
std::string windowText(HWND window);
// At most maxChars characters of a dialog control's text, as a fixed buffer
// of maxChars + 1 would hold them.
std::string itemText(HWND dialog, int id, std::size_t maxChars);
void setItemText(HWND dialog, int id, std::string_view text);

}  // namespace tarvo::win32

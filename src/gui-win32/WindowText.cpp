#include "gui-win32/WindowText.h"

#include <vector>

namespace tarvo::win32 {

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

std::string itemText(HWND dialog, int id, std::size_t maxChars) {
    std::vector<char> buffer(maxChars + 1);
    const UINT copied = GetDlgItemTextA(dialog, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied);
}

void setItemText(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextA(dialog, id, std::string(text).c_str());
}

}  // namespace tarvo::win32

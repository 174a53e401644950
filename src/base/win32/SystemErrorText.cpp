#include "base/win32/SystemErrorText.h"

namespace tarvo {

std::string systemErrorText(DWORD error) {
    char text[256] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n'))
        text[--length] = '\0';
    return length > 0 ? std::string(text, length) : "error " + std::to_string(error);
}

}  // namespace tarvo

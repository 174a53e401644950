#include "app/win32/Win32MessageBoxes.h"

#include <string>

namespace tarvo::win32 {

MessageAnswer Win32MessageBoxes::show(std::string_view text, std::string_view caption,
                                      MessageButtons buttons, MessageIcon icon) {
    UINT style = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    if (icon == MessageIcon::Exclamation) {
        style |= MB_ICONEXCLAMATION;
    }
    const std::string body(text);
    const std::string title(caption);
    const int answer = MessageBoxA(owner_ && IsWindow(owner_) ? owner_ : nullptr, body.c_str(),
                                   title.empty() ? nullptr : title.c_str(), style);
    return answer == IDOK ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

}  // namespace tarvo::win32

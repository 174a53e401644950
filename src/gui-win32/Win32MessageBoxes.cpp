#include "gui-win32/Win32MessageBoxes.h"

#include <string>

#include "gui-win32/OtherWindowsDisabled.h"

namespace tarvo::win32 {

UINT messageBoxStyle(MessageButtons buttons, MessageIcon icon) {
    UINT style = MB_OK;
    if (buttons == MessageButtons::OkCancel) {
        style = MB_OKCANCEL;
    } else if (buttons == MessageButtons::YesNo) {
        style = MB_YESNO;
    }
    return icon == MessageIcon::Exclamation ? style | MB_ICONEXCLAMATION : style;
}

MessageAnswer messageAnswer(int result) {
    switch (result) {
        case IDOK:
            return MessageAnswer::Ok;
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

MessageAnswer Win32MessageBoxes::show(std::string_view text, std::string_view caption,
                                      MessageButtons buttons, MessageIcon icon) {
    const std::string body(text);
    const std::string title(caption);
    HWND owner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
    const OtherWindowsDisabled modal(owner);
    return messageAnswer(MessageBoxA(owner, body.c_str(), title.empty() ? nullptr : title.c_str(),
                                     messageBoxStyle(buttons, icon)));
}

}  // namespace tarvo::win32

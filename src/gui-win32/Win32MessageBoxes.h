#pragma once

#include <windows.h>

#include "base/MessageBoxes.h"

namespace tarvo::win32 {

// MessageBoxA, owned by the window that raises it (the main window once it
// exists, the Excel dialog for its own); the other windows meanwhile take no input.
class Win32MessageBoxes final : public MessageBoxes {
  public:
    void setOwner(HWND owner) { owner_ = owner; }

    MessageAnswer show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override;

  private:
    HWND owner_ = nullptr;
};

// The MessageBoxA style for the buttons and icon, and what its result means.
UINT messageBoxStyle(MessageButtons buttons, MessageIcon icon);
MessageAnswer messageAnswer(int result);

}  // namespace tarvo::win32

#pragma once

#include <windows.h>

#include "res/MessageBoxes.h"

namespace tarvo::win32 {

// MessageBoxA, owned by the main window once it exists.
class Win32MessageBoxes final : public MessageBoxes {
  public:
    void setOwner(HWND owner) { owner_ = owner; }

    MessageAnswer show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace tarvo::win32

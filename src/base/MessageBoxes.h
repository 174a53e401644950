#pragma once

#include <string_view>

namespace tarvo {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Exclamation };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The operator learns of every failure through a modal box with fixed English
// text. The core asks through this interface so tests can answer without a window.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(std::string_view text, std::string_view caption,
                               MessageButtons buttons = MessageButtons::Ok,
                               MessageIcon icon = MessageIcon::None) = 0;
};

}  // namespace tarvo

#pragma once

#include <QPointer>
#include <QWidget>

#include "base/MessageBoxes.h"

namespace tarvo {

// Modal message boxes owned by a window (or by none).
class QtMessageBoxes final : public MessageBoxes {
  public:
    explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}

    void setOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer show(std::string_view text, std::string_view caption,
                       MessageButtons buttons = MessageButtons::Ok,
                       MessageIcon icon = MessageIcon::None) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace tarvo

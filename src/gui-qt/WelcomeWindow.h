#pragma once

#include <QImage>
#include <QWidget>

#include "app/WelcomeBitmap.h"

namespace tarvo {

// Shows the welcome picture while no acquisition runs: a captioned window
// without title text or window menu, centred, whose client area is exactly
// 376 by 200 pixels whatever the picture's size. Without a loaded picture it
// stays blank.
class WelcomeWindow final : public QWidget {
    Q_OBJECT

  public:
    WelcomeWindow(const WelcomeBitmap& bitmap, QWidget* owner);

    bool hasPicture() const { return !picture_.isNull(); }
    void setVisible(bool visible) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Without a window menu the operator has no way to close it; the program
    // shows and hides it.
    void closeEvent(QCloseEvent* event) override;

  private:
    void centreOnScreen();

    QImage picture_;
};

}  // namespace tarvo

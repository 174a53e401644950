#pragma once

#include <QFont>
#include <QRect>

namespace tarvo {

// Window layouts are given in dialog units, which scale with the dialog's
// font: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its height.
class DialogUnits {
  public:
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}
    // The base units of a font, measured the way the classic dialog manager
    // measures them: the average width of the 52 Latin letters, and the height.
    static DialogUnits of(const QFont& font);

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }
    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;

  private:
    int baseX_;
    int baseY_;
};

}  // namespace tarvo
